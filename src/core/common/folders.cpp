#include "core/common/folders.h"

#include "core/common/text.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

namespace kelvane {

std::u16string without_trailing_backslash(std::u16string_view path) {
    if (!path.empty() && path.back() == u'\\') path.remove_suffix(1);
    return std::u16string(path);
}

bool make_folder_path(std::u16string_view path, std::vector<std::u16string>* made) {
    const auto last = path.rfind(u'\\');
    if (last == std::u16string_view::npos) return false;
    const auto kept = path.substr(0, last + 1);
    // Every part is checked before the first folder is made, so that a path
    // refused further down leaves nothing behind.
    for (std::size_t start = 0; start < kept.size();) {
        const std::size_t end = kept.find(u'\\', start);
        const auto part = kept.substr(start, end - start);
        if (part == u"." || part == u"..") return false;
        if (to_utf8(part).size() > max_file_name_bytes) return false;
        start = end + 1;
    }
    auto& files = device_files();
    for (std::size_t i = 1; i < kept.size(); ++i) {
        if (kept[i] != u'\\') continue;
        const std::u16string folder(kept.substr(0, i));
        if (files.folder_exists(folder)) continue;
        if (files.create_folder(folder) && made) made->push_back(folder);
    }
    return files.folder_exists(without_trailing_backslash(kept));
}

void remove_made_folders(const std::vector<std::u16string>& made) {
    auto& files = device_files();
    for (auto it = made.rbegin(); it != made.rend(); ++it) files.remove_folder(*it);
}

bool copy_into_folder(std::u16string_view source_folder, std::u16string_view target_folder,
                      std::u16string_view file_name) {
    auto& files = device_files();
    const auto folder = without_trailing_backslash(target_folder);
    if (!files.folder_exists(folder)) files.create_folder(folder);
    const auto name = std::u16string(file_name);
    return copy_file_atomically(files, std::u16string(source_folder) + name,
                                std::u16string(target_folder) + name);
}

}  // namespace kelvane
