#include "platform/faulty_file_system.h"

#include <algorithm>

namespace kelvane {

namespace {

class faulty_file : public device_file {
public:
    faulty_file(std::unique_ptr<device_file> inner, faulty_file_system& owner)
        : inner_(std::move(inner)), owner_(owner) {}
    std::size_t read(void* buffer, std::size_t count) override {
        if (owner_.stopped()) return 0;
        return inner_->read(buffer, count);
    }
    std::size_t write(const void* data, std::size_t count) override {
        const std::int64_t allowed = owner_.bytes_before_stop(count);
        if (allowed >= 0) {
            // The program stops in the middle of this write.
            return allowed ? inner_->write(data, static_cast<std::size_t>(allowed)) : 0;
        }
        if (owner_.next_write_fails()) {
            // A full medium takes part of the data and then refuses the rest.
            return inner_->write(data, count / 2);
        }
        if (owner_.full()) {
            const std::int64_t room = inner_->length() - inner_->position();
            const auto fits = static_cast<std::size_t>(std::max<std::int64_t>(room, 0));
            return inner_->write(data, std::min(count, fits));
        }
        return inner_->write(data, count);
    }
    bool seek(std::int64_t offset, seek_origin origin) override {
        if (owner_.stopped()) return false;
        return inner_->seek(offset, origin);
    }
    std::int64_t position() const override { return inner_->position(); }
    std::int64_t length() const override { return inner_->length(); }
    bool close() override {
        const bool closed = inner_->close();
        return closed && !owner_.stopped();
    }

private:
    std::unique_ptr<device_file> inner_;
    faulty_file_system& owner_;
};

}  // namespace

bool faulty_file_system::change_allowed() {
    if (stopped_) return false;
    ++changes_;
    if (stop_at_ > 0 && changes_ >= stop_at_) stopped_ = true;
    return true;
}

std::int64_t faulty_file_system::bytes_before_stop(std::size_t count) {
    if (stopped_) return 0;
    ++changes_;
    if (stop_at_ <= 0 || changes_ < stop_at_) return -1;
    stopped_ = true;
    if (kept_bytes_ < 0) return static_cast<std::int64_t>(count);
    return std::min<std::int64_t>(kept_bytes_, static_cast<std::int64_t>(count));
}

std::unique_ptr<device_file> faulty_file_system::wrap(std::unique_ptr<device_file> f) {
    if (!f) return nullptr;
    return std::make_unique<faulty_file>(std::move(f), *this);
}

std::unique_ptr<device_file> faulty_file_system::open_read(std::u16string_view path) {
    if (stopped_ || next_open_fails()) return nullptr;
    return wrap(inner_.open_read(path));
}

std::unique_ptr<device_file> faulty_file_system::create(std::u16string_view path) {
    if (next_open_fails() || !change_allowed()) return nullptr;
    return wrap(inner_.create(path));
}

std::unique_ptr<device_file> faulty_file_system::open_write(std::u16string_view path) {
    if (stopped_ || next_open_fails()) return nullptr;
    return wrap(inner_.open_write(path));
}

std::unique_ptr<device_file> faulty_file_system::create_new(std::u16string_view path) {
    if (next_open_fails() || !change_allowed()) return nullptr;
    return wrap(inner_.create_new(path));
}

bool faulty_file_system::copy_file(std::u16string_view from, std::u16string_view to,
                                   bool overwrite) {
    return change_allowed() && inner_.copy_file(from, to, overwrite);
}

bool faulty_file_system::delete_file(std::u16string_view path) {
    if (++deletes_ == fail_delete_) return false;
    return change_allowed() && inner_.delete_file(path);
}

bool faulty_file_system::replace_file(std::u16string_view from, std::u16string_view to) {
    if (++replaces_ == fail_replace_) return false;
    return change_allowed() && inner_.replace_file(from, to);
}

bool faulty_file_system::create_folder(std::u16string_view path) {
    return change_allowed() && inner_.create_folder(path);
}

bool faulty_file_system::remove_folder(std::u16string_view path) {
    return change_allowed() && inner_.remove_folder(path);
}

}  // namespace kelvane
