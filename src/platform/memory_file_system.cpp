#include "platform/memory_file_system.h"

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/text_encoding.h"

namespace kelvane {

namespace {

class memory_file : public device_file {
public:
    explicit memory_file(std::shared_ptr<std::vector<std::uint8_t>> data)
        : data_(std::move(data)) {}
    std::size_t read(void* buffer, std::size_t count) override {
        if (!data_ || pos_ >= static_cast<std::int64_t>(data_->size())) return 0;
        const auto n = std::min<std::size_t>(count, data_->size() - pos_);
        std::memcpy(buffer, data_->data() + pos_, n);
        pos_ += static_cast<std::int64_t>(n);
        return n;
    }
    std::size_t write(const void* data, std::size_t count) override {
        if (!data_) return 0;
        if (pos_ + static_cast<std::int64_t>(count) > static_cast<std::int64_t>(data_->size()))
            data_->resize(pos_ + count);
        if (count) std::memcpy(data_->data() + pos_, data, count);
        pos_ += static_cast<std::int64_t>(count);
        return count;
    }
    bool seek(std::int64_t offset, seek_origin origin) override {
        if (!data_) return false;
        const std::int64_t base = origin == seek_origin::begin ? 0
                                  : origin == seek_origin::current
                                      ? pos_
                                      : static_cast<std::int64_t>(data_->size());
        if (base + offset < 0) return false;
        pos_ = base + offset;
        return true;
    }
    std::int64_t position() const override { return pos_; }
    std::int64_t length() const override {
        return data_ ? static_cast<std::int64_t>(data_->size()) : -1;
    }
    bool close() override {
        const bool ok = data_ != nullptr;
        data_.reset();
        return ok;
    }

private:
    std::shared_ptr<std::vector<std::uint8_t>> data_;
    std::int64_t pos_ = 0;
};

std::u16string trim_slashes(std::u16string_view path) {
    std::u16string p;
    for (char16_t c : path) p += (c == u'/') ? u'\\' : c;
    while (p.size() > 1 && p.back() == u'\\') p.pop_back();
    if (p.empty() || p.front() != u'\\') p.insert(p.begin(), u'\\');
    return p;
}

}  // namespace

memory_file_system::memory_file_system() {
    // GCC 12 at -O2 warns that assigning a one-unit literal to a string may
    // overlap itself, inside libstdc++'s own copy; it cannot (GCC bug 105329).
#ifndef __clang__
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wrestrict"
#endif
    folders_[u"\\"] = u"\\";
#ifndef __clang__
#pragma GCC diagnostic pop
#endif
}

std::u16string memory_file_system::key(std::u16string_view path) {
    auto p = trim_slashes(path);
    for (auto& c : p)
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    return p;
}

bool memory_file_system::parent_exists(const std::u16string& k) const {
    auto pos = k.rfind(u'\\');
    const auto parent = pos == 0 ? std::u16string(u"\\") : k.substr(0, pos);
    return folders_.count(parent) != 0;
}

std::unique_ptr<device_file> memory_file_system::open_read(std::u16string_view path) {
    auto it = files_.find(key(path));
    if (it == files_.end()) return nullptr;
    return std::make_unique<memory_file>(it->second.data);
}

std::unique_ptr<device_file> memory_file_system::create(std::u16string_view path) {
    const auto k = key(path);
    if (folders_.count(k) || !parent_exists(k)) return nullptr;
    auto& e = files_[k];
    if (!e.data) {
        e.shown = trim_slashes(path);
        e.data = std::make_shared<std::vector<std::uint8_t>>();
    }
    e.data->clear();
    return std::make_unique<memory_file>(e.data);
}

std::unique_ptr<device_file> memory_file_system::open_write(std::u16string_view path) {
    auto it = files_.find(key(path));
    if (it == files_.end()) return nullptr;
    return std::make_unique<memory_file>(it->second.data);
}

bool memory_file_system::copy_file(std::u16string_view from, std::u16string_view to,
                                   bool overwrite) {
    auto it = files_.find(key(from));
    const auto k = key(to);
    if (it == files_.end() || !parent_exists(k) || folders_.count(k)) return false;
    if (k == it->first) return true;
    if (files_.count(k) && !overwrite) return false;
    files_[k] = {trim_slashes(to), std::make_shared<std::vector<std::uint8_t>>(*it->second.data)};
    return true;
}

bool memory_file_system::delete_file(std::u16string_view path) {
    return files_.erase(key(path)) != 0;
}

bool memory_file_system::replace_file(std::u16string_view from, std::u16string_view to) {
    auto it = files_.find(key(from));
    const auto k = key(to);
    if (it == files_.end() || !parent_exists(k) || folders_.count(k)) return false;
    auto data = it->second.data;
    files_.erase(it);
    // Open handles on the old target keep the old bytes, as on a real file system.
    files_[k] = {trim_slashes(to), std::move(data)};
    return true;
}

bool memory_file_system::create_folder(std::u16string_view path) {
    const auto k = key(path);
    if (k == u"\\" || folders_.count(k) || files_.count(k) || !parent_exists(k)) return false;
    folders_[k] = trim_slashes(path);
    return true;
}

namespace {

class memory_folder_lock : public folder_lock {
public:
    memory_folder_lock(std::shared_ptr<std::set<std::u16string>> held, std::u16string key)
        : held_(std::move(held)), key_(std::move(key)) {}
    ~memory_folder_lock() override { held_->erase(key_); }

private:
    std::shared_ptr<std::set<std::u16string>> held_;
    std::u16string key_;
};

}  // namespace

folder_lock_result memory_file_system::lock_folder(std::u16string_view path) {
    folder_lock_result result;
    const auto k = key(path);
    if (!folders_.count(k)) return result;
    // Unique to this file system, so that two of them in two test programs
    // never pass for one folder.
    result.folder_id = to_utf8(k) + "@" + std::to_string(::getpid()) + ":" +
                       std::to_string(reinterpret_cast<std::uintptr_t>(held_.get()));
    if (!held_->insert(k).second) {
        result.state = lock_state::held_elsewhere;
        return result;
    }
    result.state = lock_state::taken;
    result.lock = std::make_unique<memory_folder_lock>(held_, k);
    return result;
}

bool memory_file_system::remove_folder(std::u16string_view path) {
    const auto k = key(path);
    if (k == u"\\" || !folders_.count(k)) return false;
    const auto inside = k + u"\\";
    const auto holds = [&](const auto& map) {
        auto it = map.lower_bound(inside);
        return it != map.end() && it->first.starts_with(inside);
    };
    if (holds(files_) || holds(folders_)) return false;
    folders_.erase(k);
    return true;
}

bool memory_file_system::file_exists(std::u16string_view path) {
    return files_.count(key(path)) != 0;
}

file_stamp memory_file_system::stamp(std::u16string_view path) {
    // Files here are small: the content itself tells the versions apart.
    file_stamp s;
    s.known = true;
    const auto found = files_.find(key(path));
    if (found == files_.end()) return s;
    const std::vector<std::uint8_t>& bytes = *found->second.data;
    s.exists = true;
    s.size = static_cast<std::int64_t>(bytes.size());
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint8_t b : bytes) h = (h ^ b) * 1099511628211ull;
    s.changed = static_cast<std::int64_t>(h);
    s.identity = reinterpret_cast<std::uintptr_t>(found->second.data.get());
    return s;
}

bool memory_file_system::folder_exists(std::u16string_view path) {
    return folders_.count(key(path)) != 0;
}

std::vector<find_entry> memory_file_system::find(std::u16string_view pattern) {
    std::vector<find_entry> out;
    const auto folder = key(parent_folder(pattern));
    const auto mask = file_name_of(pattern);
    if (!folders_.count(folder)) return out;
    auto child_name = [&](const std::u16string& k, const std::u16string& shown) -> std::u16string {
        auto pos = k.rfind(u'\\');
        const auto parent = pos == 0 ? std::u16string(u"\\") : k.substr(0, pos);
        if (parent != folder || k == u"\\") return {};
        return shown.substr(shown.rfind(u'\\') + 1);
    };
    for (const auto& [k, shown] : folders_) {
        auto name = child_name(k, shown);
        if (!name.empty() && wildcard_match(mask, name)) out.push_back({name, attribute_directory});
    }
    for (const auto& [k, e] : files_) {
        auto name = child_name(k, e.shown);
        if (!name.empty() && wildcard_match(mask, name)) out.push_back({name, attribute_archive});
    }
    std::sort(out.begin(), out.end(),
              [](const find_entry& a, const find_entry& b) { return a.name < b.name; });
    return out;
}

void memory_file_system::put(std::u16string_view path, std::vector<std::uint8_t> bytes) {
    const auto shown = trim_slashes(path);
    for (std::size_t pos = shown.find(u'\\', 1); pos != std::u16string::npos;
         pos = shown.find(u'\\', pos + 1))
        create_folder(shown.substr(0, pos));
    files_[key(path)] = {shown, std::make_shared<std::vector<std::uint8_t>>(std::move(bytes))};
}

std::vector<std::uint8_t> memory_file_system::bytes(std::u16string_view path) const {
    auto it = files_.find(key(path));
    return it == files_.end() ? std::vector<std::uint8_t>{} : *it->second.data;
}

std::vector<std::u16string> memory_file_system::files() const {
    std::vector<std::u16string> out;
    for (const auto& [k, e] : files_) out.push_back(e.shown);
    return out;
}

}  // namespace kelvane
