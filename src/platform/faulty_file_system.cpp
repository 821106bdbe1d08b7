#include "platform/faulty_file_system.h"

namespace kelvane {

namespace {

class faulty_file : public device_file {
public:
    faulty_file(std::unique_ptr<device_file> inner, faulty_file_system& owner)
        : inner_(std::move(inner)), owner_(owner) {}
    std::size_t read(void* buffer, std::size_t count) override {
        return inner_->read(buffer, count);
    }
    std::size_t write(const void* data, std::size_t count) override {
        if (owner_.next_write_fails()) {
            // A full medium takes part of the data and then refuses the rest.
            return inner_->write(data, count / 2);
        }
        return inner_->write(data, count);
    }
    bool seek(std::int64_t offset, seek_origin origin) override {
        return inner_->seek(offset, origin);
    }
    std::int64_t position() const override { return inner_->position(); }
    std::int64_t length() const override { return inner_->length(); }
    bool close() override { return inner_->close(); }

private:
    std::unique_ptr<device_file> inner_;
    faulty_file_system& owner_;
};

}  // namespace

std::unique_ptr<device_file> faulty_file_system::wrap(std::unique_ptr<device_file> f) {
    if (!f) return nullptr;
    return std::make_unique<faulty_file>(std::move(f), *this);
}

std::unique_ptr<device_file> faulty_file_system::open_read(std::u16string_view path) {
    if (next_open_fails()) return nullptr;
    return wrap(inner_.open_read(path));
}

std::unique_ptr<device_file> faulty_file_system::create(std::u16string_view path) {
    if (next_open_fails()) return nullptr;
    return wrap(inner_.create(path));
}

std::unique_ptr<device_file> faulty_file_system::open_write(std::u16string_view path) {
    if (next_open_fails()) return nullptr;
    return wrap(inner_.open_write(path));
}

bool faulty_file_system::replace_file(std::u16string_view from, std::u16string_view to) {
    if (++replaces_ == fail_replace_) return false;
    return inner_.replace_file(from, to);
}

}  // namespace kelvane
