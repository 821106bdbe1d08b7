#pragma once
// The desktop services the Setup wizard runs on: its own file, the temporary
// folder, the application manager's path as the desktop registers it,
// starting a program, and message boxes. The wizard reaches the desktop only
// through this, so a test can give it a Setup file, a folder and a manager of
// its own and read every message.

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/message_box.h"

namespace kelvane {

class setup_platform {
public:
    virtual ~setup_platform() = default;
    // The files below, named by paths of this file system.
    virtual file_system& files() = 0;
    // The running Setup file.
    virtual std::u16string own_file() = 0;
    // The temporary folder, ending in a separator.
    virtual std::u16string temp_folder() = 0;
    // The application manager's full path; nullopt when it is not registered.
    virtual std::optional<std::u16string> manager_path() = 0;
    // Starts a program with one parameter and does not wait for it; false
    // when it could not be started at all.
    virtual bool start_program(std::u16string_view program, std::u16string_view parameter) = 0;
    virtual message_box_service& messages() = 0;
    // True while Kelvane runs on the folder it would be installed into.
    virtual bool program_running() { return false; }
    // Where the application manager puts the program, as the owner would look
    // for it; empty when this desktop cannot tell.
    virtual std::u16string install_folder() { return {}; }
};

}  // namespace kelvane
