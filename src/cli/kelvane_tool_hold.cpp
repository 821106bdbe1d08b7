// Which commands of kelvane-tool write the data folder, and the one-writer
// hold they take on it first. The program holds the same hold while it runs
// and writes its stores from memory when it saves, so a change made beside
// it would be lost without a word: those commands wait until it is closed.
#include <algorithm>
#include <array>

#include "cli/kelvane_tool.h"
#include "cli/tool_session.h"
#include "core/common/translate.h"
#include "platform/text_encoding.h"

namespace kelvane {

bool kelvane_tool::writes_data() const {
    // A backup copies the whole set and must find it as one writer left it.
    static constexpr std::array<std::string_view, 19> writers = {
        "add-account",   "edit-account", "delete-account", "open",        "add-fuel",
        "add-repair",    "add-fee",      "edit-fuel",      "edit-repair", "edit-fee",
        "delete-record", "add-trip",     "edit-trip",      "delete-trip", "import",
        "backup",        "restore",      "sample",         "options"};
    const std::string_view name = args_.command();
    // Without a setting, "options" only shows them.
    if (name == "options") {
        for (auto setting : {"--language", "--backup-folder", "--input-panel"})
            if (args_.has(setting)) return true;
        return false;
    }
    return std::find(writers.begin(), writers.end(), name) != writers.end();
}

bool kelvane_tool::hold_data_folder(tool_session& s) {
    if (s.take_hold() != lock_state::held_elsewhere) return true;
    // Only the language is read: nothing may be written, not even a copy of
    // a damaged Config.dat.
    (void)s.load_language();
    fail(to_utf8(tr(msg_data_in_use)) + " (" + s.host_data_folder().string() + ")");
    return false;
}

}  // namespace kelvane
