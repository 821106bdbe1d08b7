#pragma once
// The device file system carried on the host: device paths map below one
// host folder, the device root.

#include <filesystem>

#include "platform/file_system.h"

namespace kelvane {

class host_file_system : public file_system {
public:
    explicit host_file_system(std::filesystem::path root);

    // Host path of a device path; empty when the path would leave the root
    // (a ".." component).
    std::filesystem::path host_path(std::u16string_view device_path) const;
    const std::filesystem::path& root() const { return root_; }

    std::unique_ptr<device_file> open_read(std::u16string_view path) override;
    std::unique_ptr<device_file> create(std::u16string_view path) override;
    std::unique_ptr<device_file> open_write(std::u16string_view path) override;
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override;
    bool delete_file(std::u16string_view path) override;
    bool replace_file(std::u16string_view from, std::u16string_view to) override;
    bool create_folder(std::u16string_view path) override;
    bool file_exists(std::u16string_view path) override;
    bool folder_exists(std::u16string_view path) override;
    std::vector<find_entry> find(std::u16string_view pattern) override;

private:
    // The root is made on the first write, so merely starting never litters the host.
    void ensure_root() const;
    std::filesystem::path root_;
};

// The device root: $KELVANE_DEVICE_ROOT, else $XDG_DATA_HOME/kelvane/device,
// else ~/.local/share/kelvane/device.
std::filesystem::path default_device_root();

}  // namespace kelvane
