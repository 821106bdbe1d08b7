#include "cli/tool_session.h"

#include <cstdio>
#include <string>

#include "core/common/folders.h"
#include "platform/text_encoding.h"

namespace kelvane {

tool_session::tool_session(const std::filesystem::path& folder, layout where)
    : files_(folder), services_({&files_, &clock_, &device_, &box_, &shell_}) {
    // A bare data folder is the program's folder: the program file sits in the root.
    if (where == layout::data_folder) device_.set_program_path(u"\\Kelvane.exe");
    // The configuration took the program folder while it was built, before
    // the device facts above were in force.
    data_.config.set_data_folder(program_folder());
}

load_result tool_session::start() {
    // A missing Config.dat is a data folder without accounts yet.
    (void)data_.load_configuration();
    return data_.load_language();
}

void tool_session::ensure_data_folder() {
    make_folder_path(data_folder());
}

std::filesystem::path tool_session::host_data_folder() const {
    return files_.host_path(data_folder());
}

}  // namespace kelvane
