#include "cli/tool_session.h"

#include <cstdio>

#include "platform/text_encoding.h"

namespace kelvane {

message_answer stderr_message_box::show(std::u16string_view text, std::u16string_view caption,
                                        message_buttons buttons) {
    ++shown_;
    std::fprintf(stderr, "%s: %s\n", to_utf8(caption).c_str(), to_utf8(text).c_str());
    return buttons == message_buttons::yes_no ? message_answer::yes : message_answer::ok;
}

tool_session::tool_session(const std::filesystem::path& folder, layout where)
    : files_(folder), services_({&files_, &clock_, &device_, &box_, &shell_}) {
    // A bare data folder is the program's folder: the program file sits in the root.
    if (where == layout::data_folder) device_.set_program_path(u"\\Kelvane.exe");
    // The configuration took the program folder while it was built, before
    // the device facts above were in force.
    config_.set_data_folder(program_folder());
    config_.attach_stores({&fuel_, &maintenance_, &fees_});
}

void tool_session::start() {
    config_.load_config();
    // The handheld starts with the table named "Language" in its folder,
    // whatever the options screen chose for the next start.
    language_.load(u"Language");
    translator_ = std::make_unique<scoped_translator>(&language_);
}

void tool_session::ensure_data_folder() {
    configuration::make_folder_path(data_folder());
}

void tool_session::load_trips() {
    trips_.load(data_folder(), u"Trip", false);
}

bool tool_session::load_account(std::u16string_view name) {
    if (!config_.account_exists(name)) return false;
    const std::u16string folder = data_folder();
    fuel_.load(folder, name, false);
    maintenance_.load(folder, name, false);
    fees_.load(folder, name, false);
    return true;
}

}  // namespace kelvane
