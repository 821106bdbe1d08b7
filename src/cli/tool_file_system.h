#pragma once
// The file system the tool runs on: the device's files below one host folder
// (a device root or a bare data folder), plus the rest of the host, reached
// through network-style paths that start with two backslashes
// ("\\home\me\out.csv" is /home/me/out.csv). Exports, imports, backups and
// charts can so name any host file while the data folder keeps the device's
// own paths, which end up inside the record files.

#include <filesystem>
#include <string>

#include "platform/host_file_system.h"

namespace kelvane {

class tool_file_system : public file_system {
public:
    explicit tool_file_system(std::filesystem::path device_root);

    // The device path that names a host path (made absolute first).
    static std::u16string host_device_path(const std::filesystem::path& host);
    // The host path a device path names (empty when it would leave its side).
    std::filesystem::path host_path(std::u16string_view path) const {
        return is_host(path) ? host_.host_path(path) : device_.host_path(path);
    }

    std::unique_ptr<device_file> open_read(std::u16string_view path) override;
    std::unique_ptr<device_file> create(std::u16string_view path) override;
    std::unique_ptr<device_file> open_write(std::u16string_view path) override;
    std::unique_ptr<device_file> create_new(std::u16string_view path) override;
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override;
    bool delete_file(std::u16string_view path) override;
    bool replace_file(std::u16string_view from, std::u16string_view to) override;
    bool create_folder(std::u16string_view path) override;
    bool remove_folder(std::u16string_view path) override;
    bool file_exists(std::u16string_view path) override;
    bool folder_exists(std::u16string_view path) override;
    folder_lock_result lock_folder(std::u16string_view path) override;
    std::vector<find_entry> find(std::u16string_view pattern) override;

private:
    static bool is_host(std::u16string_view path) { return path.starts_with(u"\\\\"); }
    host_file_system& side(std::u16string_view path) { return is_host(path) ? host_ : device_; }

    host_file_system device_;
    host_file_system host_;
};

}  // namespace kelvane
