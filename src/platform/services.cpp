#include "platform/services.h"

#include <cstdio>
#include <memory>

#include "platform/host_file_system.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

service_set& current() {
    static host_file_system files(default_device_root(), default_storage_card());
    static host_clock clock;
    static host_device_info info;
    static console_message_box box;
    static recording_shell shell;
    static service_set set{&files, &clock, &info, &box, &shell};
    return set;
}

}  // namespace

const service_set& services() {
    return current();
}

scoped_services::scoped_services(const service_set& replacement) : previous_(current()) {
    auto& s = current();
    if (replacement.files) s.files = replacement.files;
    if (replacement.clock) s.clock = replacement.clock;
    if (replacement.device) s.device = replacement.device;
    if (replacement.messages) s.messages = replacement.messages;
    if (replacement.shell) s.shell = replacement.shell;
    if (replacement.translator) s.translator = replacement.translator;
    if (replacement.modals) s.modals = replacement.modals;
}

void install_translator(const text_translator* translator) {
    current().translator = translator;
}

scoped_services::~scoped_services() {
    current() = previous_;
}

std::u16string program_folder() {
    const auto path = device().program_path();
    const auto pos = path.rfind(u'\\');
    return pos == std::u16string::npos ? std::u16string(u"\\") : path.substr(0, pos + 1);
}

}  // namespace kelvane
