#include "cli/tool_file_system.h"

#include <system_error>

#include "platform/text_encoding.h"

namespace kelvane {

tool_file_system::tool_file_system(std::filesystem::path device_root)
    : device_(std::move(device_root)), host_("/") {}

std::u16string tool_file_system::host_device_path(const std::filesystem::path& host) {
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(host, ec);
    if (ec) absolute = host;
    std::u16string text = from_utf8(absolute.lexically_normal().string());
    for (char16_t& c : text)
        if (c == u'/') c = u'\\';
    return u"\\" + text;
}

std::unique_ptr<device_file> tool_file_system::open_read(std::u16string_view path) {
    return side(path).open_read(path);
}

std::unique_ptr<device_file> tool_file_system::create(std::u16string_view path) {
    return side(path).create(path);
}

std::unique_ptr<device_file> tool_file_system::open_write(std::u16string_view path) {
    return side(path).open_write(path);
}

std::unique_ptr<device_file> tool_file_system::create_new(std::u16string_view path) {
    return side(path).create_new(path);
}

bool tool_file_system::copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) {
    // Both sides are host folders, so host paths serve a copy across them.
    const auto src = side(from).host_path(from);
    const auto dst = side(to).host_path(to);
    if (src.empty() || dst.empty()) return false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(src, ec)) return false;
    if (std::filesystem::equivalent(src, dst, ec)) return true;
    return std::filesystem::copy_file(src, dst,
                                      overwrite ? std::filesystem::copy_options::overwrite_existing
                                                : std::filesystem::copy_options::none,
                                      ec);
}

bool tool_file_system::delete_file(std::u16string_view path) {
    return side(path).delete_file(path);
}

bool tool_file_system::replace_file(std::u16string_view from, std::u16string_view to) {
    const auto src = side(from).host_path(from);
    const auto dst = side(to).host_path(to);
    if (src.empty() || dst.empty()) return false;
    std::error_code ec;
    std::filesystem::rename(src, dst, ec);
    return !ec;
}

bool tool_file_system::create_folder(std::u16string_view path) {
    return side(path).create_folder(path);
}

bool tool_file_system::remove_folder(std::u16string_view path) {
    return side(path).remove_folder(path);
}

folder_lock_result tool_file_system::lock_folder(std::u16string_view path) {
    return side(path).lock_folder(path);
}

bool tool_file_system::file_exists(std::u16string_view path) {
    return side(path).file_exists(path);
}

bool tool_file_system::folder_exists(std::u16string_view path) {
    return side(path).folder_exists(path);
}

std::vector<find_entry> tool_file_system::find(std::u16string_view pattern) {
    return side(pattern).find(pattern);
}

}  // namespace kelvane
