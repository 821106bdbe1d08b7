#include "core/accounts/staged_file_set.h"

#include <algorithm>

#include "core/accounts/configuration.h"
#include "core/common/folders.h"
#include "core/common/messages.h"
#include "core/common/problems.h"
#include "core/common/text.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

std::u16string inside(std::u16string_view folder, std::u16string_view name) {
    return std::u16string(folder) + std::u16string(name) + u"\\";
}

// What the mark says to a person who finds it.
constexpr char mark_text[] =
    "The files beside this one are a complete set, waiting to replace the files of the folder "
    "above. Kelvane finishes that the next time it backs up or restores into that folder, or "
    "starts on it.\r\n";
// Each file of the folder above that the set takes away has a line of its
// own in the mark, after the text.
constexpr char removal_prefix[] = "- ";

constexpr char16_t msg_foreign_entry[] =
    u"A folder Kelvane keeps for its own work holds something Kelvane did not put there, so "
    u"it was left alone and nothing was changed. Move it away, then try again:";

bool refuse(const std::u16string& path) {
    report_problem(msg_foreign_entry, path);
    return false;
}

bool is_mark(std::u16string_view name) {
    return name == staged_file_set::mark_name ||
           name == atomic_file_writer::temporary_path(staged_file_set::mark_name);
}

// Looks at one working folder before anything in it is touched. False, with
// the owner told, when it is not this program's: a link, a file where the
// folder should be, or anything inside that no set is made of (a link, a
// folder, a file of another name).
bool working_folder_is_own(const std::u16string& folder, std::u16string_view name, bool& present) {
    file_system& fs = device_files();
    present = false;
    const std::u16string path = folder + std::u16string(name);
    for (const find_entry& entry : fs.find(path)) {
        if (!same_name_ignoring_case(entry.name, name)) continue;
        if ((entry.attributes & attribute_link) || !(entry.attributes & attribute_directory))
            return refuse(path);
        present = true;
    }
    if (!present) return true;
    for (const find_entry& entry : fs.find(path + u"\\*")) {
        const bool own = !(entry.attributes & (attribute_link | attribute_directory)) &&
                         (staged_file_set::is_own_name(entry.name) || is_mark(entry.name));
        if (!own) return refuse(path + u"\\" + entry.name);
    }
    return true;
}

// The files a complete set takes away, as its mark lists them.
std::vector<std::u16string> removals_in_mark(const std::u16string& mark) {
    std::vector<std::u16string> names;
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(device_files(), mark, bytes)) return names;
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        start = end + 1;
        if (!line.starts_with(removal_prefix)) continue;
        line.remove_prefix(sizeof removal_prefix - 1);
        if (!is_valid_utf8(line)) continue;
        // A mark from elsewhere never takes away what is no file of a data set.
        const std::u16string name = from_utf8(line);
        if (staged_file_set::is_own_name(name)) names.push_back(name);
    }
    return names;
}

}  // namespace

staged_file_set::staged_file_set(std::u16string folder)
    : folder_(std::move(folder)), staging_(inside(folder_, staging_name)) {}

staged_file_set::~staged_file_set() {
    if (begun_ && !committed_) {
        (void)device_files().end_durable_batch(staging_);
        (void)throw_away(staging_);
    }
}

bool staged_file_set::is_own_name(std::u16string_view name) {
    // The temporary name of a write stopped half way.
    const std::u16string_view temporary = u".new";
    if (name.ends_with(temporary)) name.remove_suffix(temporary.size());
    if (name == u"Config.dat" || name == u"Trip.tri") return true;
    for (std::u16string_view extension : {u".ful", u".mat", u".fee"}) {
        if (name.size() > extension.size() && name.ends_with(extension))
            return configuration::is_valid_account_name(
                name.substr(0, name.size() - extension.size()));
    }
    return false;
}

bool staged_file_set::throw_away(const std::u16string& folder) {
    file_system& fs = device_files();
    const std::u16string path = without_trailing_backslash(folder);
    bool present = false;
    if (!working_folder_is_own(parent_folder(path) + u"\\", file_name_of(path), present))
        return false;
    if (!present) return true;
    for (const find_entry& entry : fs.find(folder + u"*")) fs.delete_file(folder + entry.name);
    fs.remove_folder(path);
    return true;
}

bool staged_file_set::move_into_place(const std::u16string& folder) {
    file_system& fs = device_files();
    const std::u16string staging = inside(folder, staging_name);
    const std::u16string replaced = inside(folder, replaced_name);
    if (!fs.folder_exists(without_trailing_backslash(replaced)) &&
        !fs.create_folder(without_trailing_backslash(replaced)))
        return false;
    const std::vector<std::u16string> removals = removals_in_mark(staging + mark_name);
    for (const find_entry& entry : fs.find(staging + u"*")) {
        const std::u16string& name = entry.name;
        if (is_mark(name) || name.ends_with(u".new")) continue;
        // Each file first moves the old one aside, then takes its place; a
        // file still waiting may have done the first step already.
        if (fs.file_exists(folder + name) && !fs.file_exists(replaced + name) &&
            !fs.replace_file(folder + name, replaced + name))
            return false;
        if (!fs.replace_file(staging + name, folder + name)) return false;
    }
    for (const std::u16string& name : removals)
        if (fs.file_exists(folder + name) && !fs.replace_file(folder + name, replaced + name))
            return false;
    // Every new file is in place: from here on, what is left is thrown away.
    if (!fs.delete_file(staging + mark_name)) return false;
    (void)throw_away(staging);
    (void)throw_away(replaced);
    return true;
}

bool staged_file_set::finish_interrupted(std::u16string_view folder_view) {
    file_system& fs = device_files();
    const std::u16string folder(folder_view);
    const std::u16string staging = inside(folder, staging_name);
    bool staging_present = false, replaced_present = false;
    if (!working_folder_is_own(folder, staging_name, staging_present) ||
        !working_folder_is_own(folder, replaced_name, replaced_present))
        return false;
    if (staging_present && fs.file_exists(staging + mark_name)) return move_into_place(folder);
    // Without the mark the staging folder is a set that was never finished;
    // the folder of replaced files is left over from a run that was.
    (void)throw_away(staging);
    (void)throw_away(inside(folder, replaced_name));
    return !fs.folder_exists(without_trailing_backslash(staging));
}

bool staged_file_set::begin() {
    if (!finish_interrupted(folder_)) return false;
    file_system& fs = device_files();
    if (!fs.create_folder(without_trailing_backslash(staging_))) return false;
    // The set's files reach the medium together, before the mark says the
    // set is whole, rather than one by one as each is written.
    fs.begin_durable_batch(staging_);
    begun_ = true;
    return true;
}

bool staged_file_set::add_copy(std::u16string_view source, std::u16string_view name) {
    return add_written(name, [&](std::u16string_view path) {
        return copy_file_atomically(device_files(), source, path);
    });
}

bool staged_file_set::add_written(std::u16string_view name,
                                  const std::function<bool(std::u16string_view path)>& write) {
    if (!begun_ || committed_ || !is_own_name(name)) return false;
    if (std::find(names_.begin(), names_.end(), name) != names_.end()) return false;
    const std::u16string path = staging_ + std::u16string(name);
    if (!write(path)) {
        device_files().delete_file(path);
        return false;
    }
    names_.emplace_back(name);
    return true;
}

void staged_file_set::add_removal(std::u16string_view name) {
    if (!is_own_name(name)) return;
    if (std::find(removals_.begin(), removals_.end(), name) == removals_.end())
        removals_.emplace_back(name);
}

staged_file_set::outcome staged_file_set::commit() {
    if (!begun_ || committed_) return outcome::rolled_back;
    committed_ = true;
    file_system& fs = device_files();
    const std::u16string replaced = inside(folder_, replaced_name);
    const auto give_up = [&] {
        (void)throw_away(staging_);
        (void)throw_away(replaced);
        return outcome::rolled_back;
    };
    if (!fs.end_durable_batch(staging_)) return give_up();
    // The mark goes in last: with it, the set in waiting is whole.
    std::string mark = mark_text;
    for (const std::u16string& name : removals_) mark += removal_prefix + to_utf8(name) + "\r\n";
    if (!write_file_atomically(fs, staging_ + mark_name, mark.data(), mark.size()))
        return give_up();
    if (!fs.folder_exists(without_trailing_backslash(replaced)) &&
        !fs.create_folder(without_trailing_backslash(replaced)))
        return give_up();

    struct moved {
        const std::u16string* name;
        bool had_old;
        bool removal;
    };
    std::vector<moved> done;
    bool ok = true;
    for (const std::u16string& name : names_) {
        const bool had_old = fs.file_exists(folder_ + name);
        if (had_old && !fs.replace_file(folder_ + name, replaced + name)) {
            ok = false;
            break;
        }
        if (!fs.replace_file(staging_ + name, folder_ + name)) {
            if (had_old && !fs.replace_file(replaced + name, folder_ + name))
                return outcome::pending;
            ok = false;
            break;
        }
        done.push_back({&name, had_old, false});
    }
    for (const std::u16string& name : removals_) {
        if (!ok) break;
        if (!fs.file_exists(folder_ + name)) continue;
        if (!fs.replace_file(folder_ + name, replaced + name)) {
            ok = false;
            break;
        }
        done.push_back({&name, true, true});
    }
    if (ok) {
        if (!fs.delete_file(staging_ + mark_name)) return outcome::pending;
        (void)throw_away(staging_);
        (void)throw_away(replaced);
        return outcome::done;
    }
    // A move failed: the files moved so far go back, newest first, and the
    // folder holds its old set again. If even that fails, the mark stays and
    // the next run moves the whole new set into place instead.
    // Each new file goes back into the staging folder before its old one
    // returns, so the set in waiting stays whole at every step.
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        const std::u16string& name = *it->name;
        if (!it->removal && !fs.replace_file(folder_ + name, staging_ + name))
            return outcome::pending;
        if (it->had_old && !fs.replace_file(replaced + name, folder_ + name))
            return outcome::pending;
    }
    if (!fs.delete_file(staging_ + mark_name)) return outcome::pending;
    return give_up();
}

}  // namespace kelvane
