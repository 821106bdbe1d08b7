#include "core/accounts/staged_file_set.h"

#include <algorithm>

#include "platform/services.h"

namespace kelvane {

namespace {

std::u16string without_trailing_backslash(std::u16string_view path) {
    if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    return std::u16string(path);
}

std::u16string inside(std::u16string_view folder, std::u16string_view name) {
    return std::u16string(folder) + std::u16string(name) + u"\\";
}

// What the mark says to a person who finds it.
constexpr char mark_text[] =
    "The files beside this one are a complete set, waiting to replace the files of the folder "
    "above. Kelvane finishes that the next time it backs up or restores into that folder, or "
    "starts on it.\r\n";

}  // namespace

staged_file_set::staged_file_set(std::u16string folder)
    : folder_(std::move(folder)), staging_(inside(folder_, staging_name)) {}

staged_file_set::~staged_file_set() {
    if (begun_ && !committed_) throw_away(staging_);
}

void staged_file_set::throw_away(const std::u16string& folder) {
    file_system& fs = device_files();
    const std::u16string path = without_trailing_backslash(folder);
    if (!fs.folder_exists(path)) return;
    for (const find_entry& entry : fs.find(folder + u"*"))
        if (!(entry.attributes & attribute_directory)) fs.delete_file(folder + entry.name);
    fs.remove_folder(path);
}

bool staged_file_set::move_into_place(const std::u16string& folder) {
    file_system& fs = device_files();
    const std::u16string staging = inside(folder, staging_name);
    const std::u16string replaced = inside(folder, replaced_name);
    if (!fs.folder_exists(without_trailing_backslash(replaced)) &&
        !fs.create_folder(without_trailing_backslash(replaced)))
        return false;
    for (const find_entry& entry : fs.find(staging + u"*")) {
        if ((entry.attributes & attribute_directory) || entry.name == mark_name) continue;
        const std::u16string& name = entry.name;
        // Each file first moves the old one aside, then takes its place; a
        // file still waiting may have done the first step already.
        if (fs.file_exists(folder + name) && !fs.file_exists(replaced + name) &&
            !fs.replace_file(folder + name, replaced + name))
            return false;
        if (!fs.replace_file(staging + name, folder + name)) return false;
    }
    // Every new file is in place: from here on, what is left is thrown away.
    if (!fs.delete_file(staging + mark_name)) return false;
    throw_away(staging);
    throw_away(replaced);
    return true;
}

bool staged_file_set::finish_interrupted(std::u16string_view folder_view) {
    file_system& fs = device_files();
    const std::u16string folder(folder_view);
    const std::u16string staging = inside(folder, staging_name);
    if (fs.folder_exists(without_trailing_backslash(staging)) &&
        fs.file_exists(staging + mark_name))
        return move_into_place(folder);
    // Without the mark the staging folder is a set that was never finished;
    // the folder of replaced files is left over from a run that was.
    throw_away(staging);
    throw_away(inside(folder, replaced_name));
    return !fs.folder_exists(without_trailing_backslash(staging));
}

bool staged_file_set::begin() {
    if (!finish_interrupted(folder_)) return false;
    file_system& fs = device_files();
    if (!fs.create_folder(without_trailing_backslash(staging_))) return false;
    begun_ = true;
    return true;
}

bool staged_file_set::add_copy(std::u16string_view source, std::u16string_view name) {
    if (!begun_ || committed_) return false;
    if (!copy_file_atomically(device_files(), source, staging_ + std::u16string(name)))
        return false;
    names_.emplace_back(name);
    return true;
}

staged_file_set::outcome staged_file_set::commit() {
    if (!begun_ || committed_) return outcome::rolled_back;
    committed_ = true;
    file_system& fs = device_files();
    const std::u16string replaced = inside(folder_, replaced_name);
    const auto give_up = [&] {
        throw_away(staging_);
        throw_away(replaced);
        return outcome::rolled_back;
    };
    // The mark goes in last: with it, the set in waiting is whole.
    if (!write_file_atomically(fs, staging_ + mark_name, mark_text, sizeof mark_text - 1))
        return give_up();
    if (!fs.folder_exists(without_trailing_backslash(replaced)) &&
        !fs.create_folder(without_trailing_backslash(replaced)))
        return give_up();

    struct moved {
        const std::u16string* name;
        bool had_old;
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
        done.push_back({&name, had_old});
    }
    if (ok) {
        if (!fs.delete_file(staging_ + mark_name)) return outcome::pending;
        throw_away(staging_);
        throw_away(replaced);
        return outcome::done;
    }
    // A move failed: the files moved so far go back, newest first, and the
    // folder holds its old set again. If even that fails, the mark stays and
    // the next run moves the whole new set into place instead.
    // Each new file goes back into the staging folder before its old one
    // returns, so the set in waiting stays whole at every step.
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
        const std::u16string& name = *it->name;
        if (!fs.replace_file(folder_ + name, staging_ + name)) return outcome::pending;
        if (it->had_old && !fs.replace_file(replaced + name, folder_ + name))
            return outcome::pending;
    }
    if (!fs.delete_file(staging_ + mark_name)) return outcome::pending;
    return give_up();
}

}  // namespace kelvane
