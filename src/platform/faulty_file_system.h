#pragma once
// A file system wrapper for tests that fails chosen operations: the k-th open
// (of any kind), the k-th write (as a short write, like a full medium) or the
// k-th replace or deletion. Counting starts at 1 when the wrapper is armed.
//
// It can also stop the way a program stops when it is killed or the power
// goes: after the k-th change (a write, a replace, a copy, a deletion, a file
// or folder created or removed), optionally with only the first bytes of
// that write on the medium, every later operation fails. What the wrapped
// file system holds then is what a restarted program finds.

#include <cstdint>

#include "platform/file_system.h"

namespace kelvane {

class faulty_file_system : public file_system {
public:
    explicit faulty_file_system(file_system& inner) : inner_(inner) {}

    // 0 disarms. Counters restart at every call.
    void fail_open(int k) { fail_open_ = k, opens_ = 0; }
    void fail_write(int k) { fail_write_ = k, writes_ = 0; }
    void fail_replace(int k) { fail_replace_ = k, replaces_ = 0; }
    void fail_delete(int k) { fail_delete_ = k, deletes_ = 0; }
    void reset_counters() { opens_ = writes_ = replaces_ = deletes_ = changes_ = 0; }

    // A full medium: a write takes the bytes that fit inside the file as it
    // is (over old bytes) and refuses those that would make it longer.
    void set_full(bool full) { full_ = full; }
    bool full() const { return full_; }

    // Stops after the k-th change (0 never stops). When that change is a
    // write, only its first `kept_bytes` bytes reach the medium (all of them
    // when kept_bytes is negative). Restarts the change counter.
    void stop_after_change(int k, std::int64_t kept_bytes = -1) {
        stop_at_ = k, kept_bytes_ = kept_bytes, changes_ = 0, stopped_ = false;
    }
    bool stopped() const { return stopped_; }
    // Changes made since the counter last restarted.
    int changes() const { return changes_; }

    int opens() const { return opens_; }
    int writes() const { return writes_; }
    int replaces() const { return replaces_; }

    std::unique_ptr<device_file> open_read(std::u16string_view path) override;
    std::unique_ptr<device_file> create(std::u16string_view path) override;
    std::unique_ptr<device_file> open_write(std::u16string_view path) override;
    std::unique_ptr<device_file> create_new(std::u16string_view path) override;
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override;
    bool delete_file(std::u16string_view path) override;
    bool replace_file(std::u16string_view from, std::u16string_view to) override;
    bool create_folder(std::u16string_view path) override;
    bool remove_folder(std::u16string_view path) override;
    bool file_exists(std::u16string_view path) override {
        return !stopped_ && inner_.file_exists(path);
    }
    file_stamp stamp(std::u16string_view path) override {
        if (stopped_) return {};
        return inner_.stamp(path);
    }
    bool folder_exists(std::u16string_view path) override {
        return !stopped_ && inner_.folder_exists(path);
    }
    // A hold is not a change; a stopped program holds nothing new.
    folder_lock_result lock_folder(std::u16string_view path) override {
        if (stopped_) return {};
        return inner_.lock_folder(path);
    }
    std::vector<find_entry> find(std::u16string_view pattern) override {
        if (stopped_) return {};
        return inner_.find(pattern);
    }

    // Called by the wrapped files; true when this write must fail.
    bool next_write_fails() { return ++writes_ == fail_write_; }
    // Called by the wrapped files before a write: how many of `count` bytes
    // may reach the medium (then the program stops), or -1 for all.
    std::int64_t bytes_before_stop(std::size_t count);

private:
    bool next_open_fails() { return ++opens_ == fail_open_; }
    // Counts one change; false when the program has stopped before it.
    bool change_allowed();
    std::unique_ptr<device_file> wrap(std::unique_ptr<device_file> f);

    file_system& inner_;
    int fail_open_ = 0, fail_write_ = 0, fail_replace_ = 0, fail_delete_ = 0;
    int opens_ = 0, writes_ = 0, replaces_ = 0, deletes_ = 0;
    int stop_at_ = 0, changes_ = 0;
    std::int64_t kept_bytes_ = -1;
    bool stopped_ = false;
    bool full_ = false;
};

}  // namespace kelvane
