#pragma once
// The device services the program runs on. Everything above the platform
// reaches files, clock, device facts, message boxes and shell through
// services(); a test installs its own with scoped_services, which puts the
// previous ones back when it ends, so nothing leaks from one test to the next.

#include "platform/device_info.h"
#include "platform/file_system.h"
#include "platform/local_time.h"
#include "platform/message_box.h"
#include "platform/shell_service.h"
#include "platform/translator.h"

namespace kelvane {

class modal_service;

struct service_set {
    file_system* files = nullptr;
    clock_service* clock = nullptr;
    device_info* device = nullptr;
    message_box_service* messages = nullptr;
    shell_service* shell = nullptr;
    // nullptr: English, the keys as they stand.
    const text_translator* translator = nullptr;
    // The modal runs of dialogs and pop-up menus (platform/qt); nullptr:
    // real nested event loops.
    modal_service* modals = nullptr;
};

// The services in force. The defaults are the host's: the file system under
// default_device_root(), the host clock, host_device_info, a message box that
// writes to standard error and answers OK/Yes, and a recording shell.
const service_set& services();

inline file_system& device_files() {
    return *services().files;
}
inline clock_service& device_clock() {
    return *services().clock;
}
inline device_info& device() {
    return *services().device;
}
inline message_box_service& message_boxes() {
    return *services().messages;
}
inline shell_service& device_shell() {
    return *services().shell;
}

// Makes the translator part of the services in force (the program does this
// once its language table is loaded); the enclosing scoped_services puts the
// previous one back.
void install_translator(const text_translator* translator);

// Installs services for the lifetime of the object; members left null keep
// the services that were in force.
class scoped_services {
public:
    explicit scoped_services(const service_set& replacement);
    ~scoped_services();
    scoped_services(const scoped_services&) = delete;
    scoped_services& operator=(const scoped_services&) = delete;

private:
    service_set previous_;
};

// The program's own folder with trailing backslash (the data folder).
std::u16string program_folder();

}  // namespace kelvane
