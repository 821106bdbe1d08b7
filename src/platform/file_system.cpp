#include "platform/file_system.h"

#include <algorithm>

namespace kelvane {

namespace {

char16_t fold(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
}

bool match_from(std::u16string_view p, std::u16string_view n) {
    std::size_t pi = 0, ni = 0, star = std::u16string_view::npos, mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == u'?' || fold(p[pi]) == fold(n[ni]))) {
            ++pi;
            ++ni;
        } else if (pi < p.size() && p[pi] == u'*') {
            star = pi++;
            mark = ni;
        } else if (star != std::u16string_view::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*') ++pi;
    return pi == p.size();
}

}  // namespace

bool wildcard_match(std::u16string_view pattern, std::u16string_view name) {
    // "*.*" matches names without a dot too, as on the device.
    if (pattern == u"*.*") return true;
    return match_from(pattern, name);
}

atomic_file_writer::atomic_file_writer(file_system& fs, std::u16string_view path)
    : fs_(fs), path_(path), temp_(temporary_path(path)) {}

atomic_file_writer::~atomic_file_writer() {
    if (!committed_) {
        if (file_) file_->close();
        file_.reset();
        fs_.delete_file(temp_);
    }
}

std::u16string atomic_file_writer::temporary_path(std::u16string_view path) {
    return std::u16string(path) + u".new";
}

bool atomic_file_writer::open() {
    fs_.delete_file(temp_);
    file_ = fs_.create_new(temp_);
    failed_ = !file_;
    return !failed_;
}

bool atomic_file_writer::write(const void* data, std::size_t count) {
    if (failed_ || !file_) return false;
    if (count == 0) return true;
    if (file_->write(data, count) != count) failed_ = true;
    return !failed_;
}

bool atomic_file_writer::commit() {
    if (!file_) return false;
    bool ok = !failed_;
    if (!file_->close()) ok = false;
    file_.reset();
    if (ok && !fs_.replace_file(temp_, path_)) ok = false;
    if (!ok) {
        fs_.delete_file(temp_);
        failed_ = true;
    }
    committed_ = true;
    return ok;
}

bool write_file_atomically(file_system& fs, std::u16string_view path, const void* data,
                           std::size_t count) {
    atomic_file_writer writer(fs, path);
    if (!writer.open()) return false;
    writer.write(data, count);
    return writer.commit();
}

std::int64_t device_file::copy_from(device_file& source, std::int64_t count) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(count, 0), std::int64_t{1} << 16)));
    std::int64_t copied = 0;
    while (copied < count) {
        const auto want =
            static_cast<std::size_t>(std::min<std::int64_t>(count - copied, buffer.size()));
        const std::size_t got = source.read(buffer.data(), want);
        if (got == 0) break;
        const std::size_t put = write(buffer.data(), got);
        copied += static_cast<std::int64_t>(put);
        if (put != got) break;
    }
    return copied;
}

bool atomic_file_writer::copy_from(device_file& source, std::int64_t count) {
    if (failed_ || !file_) return false;
    if (file_->copy_from(source, count) != count) failed_ = true;
    return !failed_;
}

bool copy_file_atomically(file_system& fs, std::u16string_view from, std::u16string_view to) {
    auto source = fs.open_read(from);
    if (!source) return false;
    const std::int64_t length = source->length();
    atomic_file_writer writer(fs, to);
    // A source that ended early was not read whole: its copy would be cut
    // short. Left uncommitted, the writer removes its temporary file.
    const bool ok = length >= 0 && writer.open() && writer.copy_from(*source, length);
    source->close();
    return ok && writer.commit();
}

bool read_whole_file(file_system& fs, std::u16string_view path, std::vector<std::uint8_t>& out) {
    out.clear();
    auto f = fs.open_read(path);
    if (!f) return false;
    const std::int64_t len = f->length();
    if (len < 0) return false;
    out.resize(static_cast<std::size_t>(len));
    std::size_t got = len ? f->read(out.data(), out.size()) : 0;
    f->close();
    out.resize(got);
    return got == static_cast<std::size_t>(len);
}

std::u16string parent_folder(std::u16string_view path) {
    auto pos = path.rfind(u'\\');
    if (pos == std::u16string_view::npos) return {};
    return std::u16string(path.substr(0, pos));
}

std::u16string file_name_of(std::u16string_view path) {
    auto pos = path.rfind(u'\\');
    if (pos == std::u16string_view::npos) return std::u16string(path);
    return std::u16string(path.substr(pos + 1));
}

}  // namespace kelvane
