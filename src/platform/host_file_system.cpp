#include "platform/host_file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace kelvane {

// The files made whole in one folder while its batch is open: each has been
// handed to the system to write out as it was closed, and is waited for
// when the batch ends.
struct durable_batch {
    std::filesystem::path folder;
    std::vector<int> files;  // descriptors of their own, closed at the end

    // Starts writing the file out and keeps it to be waited for; false when
    // it could not be kept (it was then waited for at once).
    bool take(int fd) {
        (void)::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        const int kept = ::dup(fd);
        if (kept < 0) return ::fsync(fd) == 0;
        files.push_back(kept);
        return true;
    }
    // Waits until every file, and the folder's own entries, are on the medium.
    bool finish() {
        bool ok = true;
        for (const int fd : files) {
            ok = ::fsync(fd) == 0 && ok;
            ::close(fd);
        }
        files.clear();
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ok = ::fsync(dir) == 0 && ok;
            ::close(dir);
        }
        return ok;
    }
    ~durable_batch() {
        for (const int fd : files) ::close(fd);
    }
};

namespace {

class host_file : public device_file {
public:
    // A durable file reaches the medium before close reports success: it is
    // about to replace a good file, which must not be swapped for one whose
    // bytes a power cut could still take away. Inside a folder's durable
    // batch, close hands it to the batch instead, which waits for the medium
    // once for all of the folder's files.
    explicit host_file(std::FILE* f, bool durable = false,
                       std::shared_ptr<durable_batch> batch = nullptr)
        : f_(f), durable_(durable), batch_(std::move(batch)) {}
    ~host_file() override {
        if (f_) std::fclose(f_);
    }
    std::size_t read(void* buffer, std::size_t count) override {
        return f_ ? std::fread(buffer, 1, count, f_) : 0;
    }
    std::size_t write(const void* data, std::size_t count) override {
        // Nothing to write may come with no buffer at all, which fwrite must not see.
        if (count == 0) return 0;
        return f_ ? std::fwrite(data, 1, count, f_) : 0;
    }
    bool seek(std::int64_t offset, seek_origin origin) override {
        if (!f_) return false;
        const int whence = origin == seek_origin::begin     ? SEEK_SET
                           : origin == seek_origin::current ? SEEK_CUR
                                                            : SEEK_END;
        return fseeko(f_, static_cast<off_t>(offset), whence) == 0;
    }
    std::int64_t position() const override { return f_ ? ftello(f_) : -1; }
    std::int64_t length() const override {
        if (!f_) return -1;
        const off_t here = ftello(f_);
        fseeko(f_, 0, SEEK_END);
        const off_t end = ftello(f_);
        fseeko(f_, here, SEEK_SET);
        return end;
    }
    bool close() override {
        if (!f_) return false;
        bool ok = std::fflush(f_) == 0 && !std::ferror(f_);
        if (ok && durable_) ok = batch_ ? batch_->take(::fileno(f_)) : ::fsync(::fileno(f_)) == 0;
        const bool closed = std::fclose(f_) == 0;
        f_ = nullptr;
        return ok && closed;
    }
    // Between two files of the host, the system copies the bytes itself
    // (sharing them where the medium can), as cp does; where it cannot, the
    // bytes come through the program.
    std::int64_t copy_from(device_file& source, std::int64_t count) override {
        auto* from = dynamic_cast<host_file*>(&source);
        if (!f_ || !from || !from->f_ || std::fflush(f_) != 0)
            return device_file::copy_from(source, count);
        off_t in = ftello(from->f_), out = ftello(f_);
        if (in < 0 || out < 0) return device_file::copy_from(source, count);
        std::int64_t copied = 0;
        while (copied < count) {
            const auto want = static_cast<std::size_t>(
                std::min<std::int64_t>(count - copied, std::int64_t{1} << 30));
            const ssize_t got =
                ::copy_file_range(::fileno(from->f_), &in, ::fileno(f_), &out, want, 0);
            if (got > 0) {
                copied += got;
                continue;
            }
            if (got < 0 && errno == EINTR) continue;
            if (got < 0 && copied == 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EOPNOTSUPP || errno == EINVAL)) {
                // No copy by the system between these two: the program copies.
                return device_file::copy_from(source, count);
            }
            break;  // the source ended, or the medium is full
        }
        // Both streams go on after what the system copied.
        (void)fseeko(from->f_, in, SEEK_SET);
        (void)fseeko(f_, out, SEEK_SET);
        return copied;
    }

private:
    std::FILE* f_;
    bool durable_;
    std::shared_ptr<durable_batch> batch_;
};

std::unique_ptr<device_file> open_host(const fs::path& p, const char* mode) {
    if (p.empty()) return nullptr;
    std::error_code ec;
    if (fs::is_directory(p, ec)) return nullptr;
    std::FILE* f = std::fopen(p.c_str(), mode);
    if (!f) return nullptr;
    return std::make_unique<host_file>(f);
}

}  // namespace

namespace {

bool is_card_name(std::u16string_view name) {
    const std::u16string_view card = storage_card_name;
    if (name.size() != card.size()) return false;
    auto fold = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (std::size_t i = 0; i < name.size(); ++i)
        if (fold(name[i]) != fold(card[i])) return false;
    return true;
}

}  // namespace

host_file_system::host_file_system(fs::path root, fs::path storage_card)
    : root_(std::move(root)), card_(std::move(storage_card)) {}

void host_file_system::ensure_root() const {
    std::error_code ec;
    fs::create_directories(root_, ec);
}

fs::path host_file_system::host_path(std::u16string_view device_path) const {
    fs::path result = root_;
    bool first = true;
    std::size_t start = 0;
    while (start <= device_path.size()) {
        std::size_t end = device_path.find_first_of(u"\\/", start);
        if (end == std::u16string_view::npos) end = device_path.size();
        auto part = device_path.substr(start, end - start);
        if (part == u"..") return {};
        if (!part.empty() && part != u".") {
            if (first && !card_.empty() && is_card_name(part))
                result = card_;
            else
                result /= to_utf8(part);
            first = false;
        }
        start = end + 1;
    }
    return result;
}

bool host_file_system::is_storage_card(std::u16string_view device_path) const {
    if (card_.empty()) return false;
    while (!device_path.empty() && (device_path.front() == u'\\' || device_path.front() == u'/'))
        device_path.remove_prefix(1);
    while (!device_path.empty() && (device_path.back() == u'\\' || device_path.back() == u'/'))
        device_path.remove_suffix(1);
    return is_card_name(device_path);
}

std::unique_ptr<device_file> host_file_system::open_read(std::u16string_view path) {
    return open_host(host_path(path), "rb");
}

file_stamp host_file_system::stamp(std::u16string_view path) {
    const auto p = host_path(path);
    if (p.empty()) return {};
    struct stat st {};
    if (::stat(p.c_str(), &st) != 0) {
        file_stamp missing;
        missing.known = errno == ENOENT;
        return missing;
    }
    file_stamp s;
    s.known = true;
    s.exists = true;
    s.size = static_cast<std::int64_t>(st.st_size);
    // The later of the content's and the entry's change: a file put in place
    // by a rename keeps its content's time but not its entry's.
    const auto ns = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    s.changed = std::max(ns(st.st_mtim), ns(st.st_ctim));
    s.identity =
        static_cast<std::uint64_t>(st.st_ino) ^ (static_cast<std::uint64_t>(st.st_dev) << 40);
    // The medium keeps change times in ticks of a few milliseconds: a file
    // changed within the last tick could change again with the same time,
    // so its stamp does not count yet.
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (ns(now) - s.changed < 50'000'000) s.known = false;
    return s;
}

std::unique_ptr<device_file> host_file_system::create(std::u16string_view path) {
    ensure_root();
    return open_host(host_path(path), "wb");
}

std::unique_ptr<device_file> host_file_system::open_write(std::u16string_view path) {
    return open_host(host_path(path), "r+b");
}

std::unique_ptr<device_file> host_file_system::create_new(std::u16string_view path) {
    const auto p = host_path(path);
    if (p.empty()) return nullptr;
    ensure_root();
    // O_EXCL with O_NOFOLLOW: whatever already has the name, a link above
    // all, makes this fail instead of being written through.
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = ::fdopen(fd, "wb");
    if (!f) {
        ::close(fd);
        return nullptr;
    }
    return std::make_unique<host_file>(f, true, batch_for(p.parent_path()));
}

std::shared_ptr<durable_batch> host_file_system::batch_for(const fs::path& folder) const {
    for (const auto& batch : batches_)
        if (batch->folder == folder) return batch;
    return nullptr;
}

void host_file_system::begin_durable_batch(std::u16string_view folder) {
    // A host path has no separator at its end, as the parent of a file has none.
    const auto p = host_path(folder);
    if (p.empty() || batch_for(p)) return;  // one batch at a time for a folder
    auto batch = std::make_shared<durable_batch>();
    batch->folder = p;
    batches_.push_back(std::move(batch));
}

bool host_file_system::end_durable_batch(std::u16string_view folder) {
    const auto p = host_path(folder);
    for (auto it = batches_.begin(); it != batches_.end(); ++it) {
        if ((*it)->folder != p) continue;
        const std::shared_ptr<durable_batch> batch = *it;
        batches_.erase(it);
        return batch->finish();
    }
    return true;
}

bool host_file_system::copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) {
    const auto src = host_path(from), dst = host_path(to);
    if (src.empty() || dst.empty()) return false;
    std::error_code ec;
    if (!fs::is_regular_file(src, ec)) return false;
    ensure_root();
    if (fs::equivalent(src, dst, ec)) return true;
    return fs::copy_file(
        src, dst, overwrite ? fs::copy_options::overwrite_existing : fs::copy_options::none, ec);
}

bool host_file_system::delete_file(std::u16string_view path) {
    const auto p = host_path(path);
    std::error_code ec;
    if (p.empty()) return false;
    // A link goes itself, never what it points at.
    const auto kind = fs::symlink_status(p, ec).type();
    if (kind != fs::file_type::regular && kind != fs::file_type::symlink) return false;
    return fs::remove(p, ec);
}

bool host_file_system::replace_file(std::u16string_view from, std::u16string_view to) {
    const auto src = host_path(from), dst = host_path(to);
    if (src.empty() || dst.empty()) return false;
    std::error_code ec;
    fs::rename(src, dst, ec);
    return !ec;
}

bool host_file_system::create_folder(std::u16string_view path) {
    const auto p = host_path(path);
    if (p.empty() || p == root_ || is_storage_card(path)) return false;
    ensure_root();
    std::error_code ec;
    return fs::create_directory(p, ec);
}

bool host_file_system::remove_folder(std::u16string_view path) {
    const auto p = host_path(path);
    std::error_code ec;
    if (p.empty() || p == root_ || is_storage_card(path)) return false;
    if (fs::symlink_status(p, ec).type() != fs::file_type::directory) return false;
    if (!fs::is_empty(p, ec) || ec) return false;
    return fs::remove(p, ec);
}

bool host_file_system::file_exists(std::u16string_view path) {
    const auto p = host_path(path);
    std::error_code ec;
    return !p.empty() && fs::is_regular_file(p, ec);
}

bool host_file_system::folder_exists(std::u16string_view path) {
    const auto p = host_path(path);
    std::error_code ec;
    return !p.empty() && fs::is_directory(p, ec);
}

namespace {

// The system's lock on an open folder. The descriptor is not passed on to
// programs this one starts (a browser for the help), which would otherwise
// keep the folder held after the program ends.
class host_folder_lock : public folder_lock {
public:
    explicit host_folder_lock(int fd) : fd_(fd) {}
    ~host_folder_lock() override { ::close(fd_); }

private:
    int fd_;
};

}  // namespace

folder_lock_result host_file_system::lock_folder(std::u16string_view path) {
    folder_lock_result result;
    const auto p = host_path(path);
    if (p.empty()) return result;
    const int fd = ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return result;
    struct stat st {};
    if (::fstat(fd, &st) == 0)
        result.folder_id = std::to_string(st.st_dev) + "-" + std::to_string(st.st_ino);
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        result.state = lock_state::taken;
        result.lock = std::make_unique<host_folder_lock>(fd);
        return result;
    }
    result.state = errno == EWOULDBLOCK ? lock_state::held_elsewhere : lock_state::unavailable;
    ::close(fd);
    return result;
}

std::vector<find_entry> host_file_system::find(std::u16string_view pattern) {
    std::vector<find_entry> out;
    const auto parent = parent_folder(pattern);
    const auto folder = host_path(parent);
    const auto mask = file_name_of(pattern);
    // The device's root holds the storage card, which reports itself as a
    // temporary folder, as cards do on the handheld.
    const bool at_root = parent.find_first_not_of(u"\\/") == std::u16string::npos;
    std::error_code ec;
    if (at_root && !card_.empty() && fs::is_directory(card_, ec) &&
        wildcard_match(mask, storage_card_name))
        out.push_back({storage_card_name, attribute_directory | attribute_temporary});
    if (folder.empty() || !fs::is_directory(folder, ec)) return out;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const auto name = from_utf8(entry.path().filename().string());
        if (!wildcard_match(mask, name)) continue;
        if (at_root && !card_.empty() && is_card_name(name)) continue;
        std::error_code kind_ec;
        std::uint32_t attributes =
            entry.is_directory(kind_ec) ? attribute_directory : attribute_archive;
        if (entry.is_symlink(kind_ec)) attributes |= attribute_link;
        // Dot files are the host's hidden files.
        if (name.size() > 1 && name[0] == u'.') attributes |= attribute_hidden;
        out.push_back({name, attributes});
    }
    std::sort(out.begin(), out.end(),
              [](const find_entry& a, const find_entry& b) { return a.name < b.name; });
    return out;
}

fs::path default_device_root() {
    if (const char* root = std::getenv("KELVANE_DEVICE_ROOT"); root && *root) return root;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return fs::path(xdg) / "kelvane" / "device";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : ".") / ".local" / "share" / "kelvane" / "device";
}

fs::path default_storage_card() {
    if (const char* card = std::getenv("KELVANE_STORAGE_CARD")) return card;
    const char* home = std::getenv("HOME");
    return home && *home ? fs::path(home) : fs::path();
}

}  // namespace kelvane
