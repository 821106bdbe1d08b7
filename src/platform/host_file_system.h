#pragma once
// The device file system carried on the host: device paths map below one
// host folder, the device root. The device's storage card, "\Storage Card",
// can be mapped to another host folder (the user's home), so that exports and
// backups land where a desktop user looks for them; the data itself stays
// below the device root.

#include <filesystem>
#include <memory>
#include <vector>

#include "platform/file_system.h"

namespace kelvane {

struct durable_batch;

class host_file_system : public file_system {
public:
    // With an empty storage card folder, "\Storage Card" is an ordinary
    // folder below the root.
    explicit host_file_system(std::filesystem::path root, std::filesystem::path storage_card = {});

    // Host path of a device path; empty when the path would leave the root
    // or the storage card (a ".." component).
    std::filesystem::path host_path(std::u16string_view device_path) const;
    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& storage_card() const { return card_; }

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
    file_stamp stamp(std::u16string_view path) override;
    bool folder_exists(std::u16string_view path) override;
    folder_lock_result lock_folder(std::u16string_view path) override;
    std::vector<find_entry> find(std::u16string_view pattern) override;
    void begin_durable_batch(std::u16string_view folder) override;
    [[nodiscard]] bool end_durable_batch(std::u16string_view folder) override;

private:
    // The root is made on the first write, so merely starting never litters the host.
    void ensure_root() const;
    // True when the device path names the storage card folder itself.
    bool is_storage_card(std::u16string_view device_path) const;
    // The open batch of a host folder; null when it has none.
    std::shared_ptr<durable_batch> batch_for(const std::filesystem::path& folder) const;

    std::filesystem::path root_;
    std::filesystem::path card_;
    std::vector<std::shared_ptr<durable_batch>> batches_;
};

// The device root: $KELVANE_DEVICE_ROOT, else $XDG_DATA_HOME/kelvane/device,
// else ~/.local/share/kelvane/device.
std::filesystem::path default_device_root();

// The device name of the storage card folder, below the device's root.
inline constexpr char16_t storage_card_name[] = u"Storage Card";

// The host folder of the storage card: $KELVANE_STORAGE_CARD, else the user's
// home folder; empty (no card) when that variable is set but empty.
std::filesystem::path default_storage_card();

}  // namespace kelvane
