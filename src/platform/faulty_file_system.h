#pragma once
// A file system wrapper for tests that fails chosen operations: the k-th open
// (of any kind), the k-th write (as a short write, like a full medium) or the
// k-th replace. Counting starts at 1 when the wrapper is armed.

#include "platform/file_system.h"

namespace kelvane {

class faulty_file_system : public file_system {
public:
    explicit faulty_file_system(file_system& inner) : inner_(inner) {}

    // 0 disarms. Counters restart at every call.
    void fail_open(int k) { fail_open_ = k, opens_ = 0; }
    void fail_write(int k) { fail_write_ = k, writes_ = 0; }
    void fail_replace(int k) { fail_replace_ = k, replaces_ = 0; }
    void reset_counters() { opens_ = writes_ = replaces_ = 0; }

    int opens() const { return opens_; }
    int writes() const { return writes_; }
    int replaces() const { return replaces_; }

    std::unique_ptr<device_file> open_read(std::u16string_view path) override;
    std::unique_ptr<device_file> create(std::u16string_view path) override;
    std::unique_ptr<device_file> open_write(std::u16string_view path) override;
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override {
        return inner_.copy_file(from, to, overwrite);
    }
    bool delete_file(std::u16string_view path) override { return inner_.delete_file(path); }
    bool replace_file(std::u16string_view from, std::u16string_view to) override;
    bool create_folder(std::u16string_view path) override { return inner_.create_folder(path); }
    bool file_exists(std::u16string_view path) override { return inner_.file_exists(path); }
    bool folder_exists(std::u16string_view path) override { return inner_.folder_exists(path); }
    std::vector<find_entry> find(std::u16string_view pattern) override {
        return inner_.find(pattern);
    }

    // Called by the wrapped files; true when this write must fail.
    bool next_write_fails() { return ++writes_ == fail_write_; }

private:
    bool next_open_fails() { return ++opens_ == fail_open_; }
    std::unique_ptr<device_file> wrap(std::unique_ptr<device_file> f);

    file_system& inner_;
    int fail_open_ = 0, fail_write_ = 0, fail_replace_ = 0;
    int opens_ = 0, writes_ = 0, replaces_ = 0;
};

}  // namespace kelvane
