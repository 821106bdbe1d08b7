#pragma once
// Folders of the device made and removed along a path, and one file copied
// into a folder: the steps every write to a folder the owner chose starts
// with (backups, exports, charts saved as pictures, the "Deleted" folder).

#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

// Creates every folder along the path up to its last backslash; folders
// that exist already (and the root) are fine. A path with a part that
// cannot be a folder ("." or "..", or longer than a file name may be)
// creates nothing. True when the folder is there afterwards; the folders
// made are added to `made`, oldest first, when it is given.
bool make_folder_path(std::u16string_view path, std::vector<std::u16string>* made = nullptr);
// Removes, newest first, those of the folders that are empty: what a
// make_folder_path left behind for a write that then failed.
void remove_made_folders(const std::vector<std::u16string>& made);
// Creates the target folder and copies one file into it, replacing an
// older copy whole or not at all. True when the copy succeeded.
[[nodiscard]] bool copy_into_folder(std::u16string_view source_folder,
                                    std::u16string_view target_folder,
                                    std::u16string_view file_name);
// The path without its last backslash, as the file system names a folder.
std::u16string without_trailing_backslash(std::u16string_view path);

}  // namespace kelvane
