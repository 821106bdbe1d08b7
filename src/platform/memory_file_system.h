#pragma once
// A device file system held in memory, for tests and benchmarks. Paths are
// compared case-insensitively for ASCII letters, like the device's.

#include <map>
#include <memory>
#include <set>

#include "platform/file_system.h"

namespace kelvane {

class memory_file_system : public file_system {
public:
    memory_file_system();

    std::unique_ptr<device_file> open_read(std::u16string_view path) override;
    std::unique_ptr<device_file> create(std::u16string_view path) override;
    std::unique_ptr<device_file> open_write(std::u16string_view path) override;
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override;
    bool delete_file(std::u16string_view path) override;
    bool replace_file(std::u16string_view from, std::u16string_view to) override;
    bool create_folder(std::u16string_view path) override;
    bool remove_folder(std::u16string_view path) override;
    bool file_exists(std::u16string_view path) override;
    bool folder_exists(std::u16string_view path) override;
    file_stamp stamp(std::u16string_view path) override;
    folder_lock_result lock_folder(std::u16string_view path) override;
    std::vector<find_entry> find(std::u16string_view pattern) override;

    // Test conveniences: direct access to a file's bytes; parent folders are created.
    void put(std::u16string_view path, std::vector<std::uint8_t> bytes);
    // The bytes of a file, or an empty vector when it does not exist.
    std::vector<std::uint8_t> bytes(std::u16string_view path) const;
    // Every file path, in sorted order.
    std::vector<std::u16string> files() const;

private:
    using blob = std::shared_ptr<std::vector<std::uint8_t>>;
    struct entry {
        std::u16string shown;  // the path as first spelled
        blob data;
    };
    static std::u16string key(std::u16string_view path);
    bool parent_exists(const std::u16string& k) const;

    std::map<std::u16string, entry> files_;
    std::map<std::u16string, std::u16string> folders_;  // key -> shown
    // The folders held now; shared with the holds, which may outlive a test's file system.
    std::shared_ptr<std::set<std::u16string>> held_ = std::make_shared<std::set<std::u16string>>();
};

}  // namespace kelvane
