#include "core/tools/language_table.h"

#include <cstring>
#include <vector>

#include "core/common/messages.h"
#include "core/common/problems.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr std::int32_t max_cache_bytes = 2 * language_table::max_units;
// A length unit holds the part's characters + 2 in 16 bits.
constexpr std::size_t max_part_length = 0xffff - 2;

bool is_comment(std::u16string_view line) {
    return line.starts_with(u"//") || line.starts_with(u"##");
}

std::int32_t read_int32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

void put_int32(std::uint8_t* p, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::size_t read_fully(device_file& f, void* buffer, std::size_t count) {
    auto* p = static_cast<std::uint8_t*>(buffer);
    std::size_t done = 0;
    while (done < count) {
        const std::size_t got = f.read(p + done, count - done);
        if (got == 0) break;
        done += got;
    }
    return done;
}

// Calls visit(key, translation) for each entry until it returns true; stops
// quietly at a unit that does not start a whole entry.
template <typename Visit>
bool walk(std::u16string_view t, Visit visit) {
    std::size_t pos = 0;
    while (pos < t.size()) {
        const std::size_t a = t[pos];
        if (a < 2 || pos + a >= t.size()) return false;
        const std::size_t b = t[pos + a];
        if (b < 2 || pos + a + b > t.size()) return false;
        if (visit(t.substr(pos + 1, a - 2), t.substr(pos + a + 1, b - 2))) return true;
        pos += a + b;
    }
    return false;
}

}  // namespace

bool language_table::is_well_formed(std::u16string_view units) {
    std::size_t pos = 0;
    while (pos < units.size()) {
        const std::size_t a = units[pos];
        if (a < 2 || pos + a >= units.size() || units[pos + a - 1] != 0) return false;
        const std::size_t b = units[pos + a];
        if (b < 2 || pos + a + b > units.size() || units[pos + a + b - 1] != 0) return false;
        pos += a + b;
    }
    return true;
}

std::u16string language_table::translate(std::u16string_view key) const {
    // An empty text has nothing to translate; a stray line without "@" puts
    // an entry with an empty key into the table, which must not fill every
    // empty label with its text.
    if (key.empty()) return {};
    std::u16string result(key);
    walk(table_, [&](std::u16string_view k, std::u16string_view text) {
        if (k != key) return false;
        result = text;
        return true;
    });
    return result;
}

std::u16string language_table::reverse_translate(std::u16string_view text) const {
    if (text.empty()) return {};
    std::u16string result(text);
    walk(table_, [&](std::u16string_view k, std::u16string_view t) {
        if (t != text) return false;
        result = k;
        return true;
    });
    return result;
}

load_result language_table::load(std::u16string_view name) {
    table_.clear();
    // No name is the built-in English, not a file called ".lng".
    if (name.empty()) return load_result::missing;
    const auto base = program_folder() + std::u16string(name);
    if (load_cache(base + u".bng")) return load_result::loaded;
    const load_result result = parse_source(base + u".lng");
    // Only a whole table is worth a cache.
    if (result == load_result::loaded) write_cache(base + u".bng");
    return result;
}

bool language_table::load_cache(std::u16string_view path) {
    auto file = device_files().open_read(path);
    if (!file) return false;
    // The cache is only a copy of the ".lng" file: anything that does not
    // hold up is ignored, and the source is read again.
    std::uint8_t header[cache_header_size];
    const std::int64_t file_length = file->length();
    bool ok = read_fully(*file, header, sizeof header) == sizeof header;
    std::int32_t n = ok ? read_int32(header + 8) : -1;
    ok = ok && n >= 0 && n % 2 == 0 && n <= max_cache_bytes &&
         n <= file_length - static_cast<std::int64_t>(cache_header_size);
    std::u16string units;
    if (ok) {
        units.resize(static_cast<std::size_t>(n) / 2);
        ok = read_fully(*file, units.data(), static_cast<std::size_t>(n)) ==
                 static_cast<std::size_t>(n) &&
             is_well_formed(units);
    }
    file->close();
    if (ok) table_ = std::move(units);
    return ok;
}

load_result language_table::parse_source(std::u16string_view path) {
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(device_files(), path, bytes))
        return device_files().file_exists(path) ? load_result::damaged : load_result::missing;

    // Appends one line's entry; false when the table would pass its cap.
    auto append = [this](std::u16string_view line) {
        std::u16string_view key, text;
        const auto at = line.find(u'@');
        if (at == std::u16string_view::npos) {
            text = line.empty() ? line : line.substr(1);
        } else {
            key = line.substr(0, at);
            text = line.substr(at + 1);
        }
        // A part that its 16-bit length cannot describe would break every
        // entry after it; such a line cannot be a real text and is left out.
        if (key.size() > max_part_length || text.size() > max_part_length) return true;
        const std::size_t start = table_.size();
        for (auto part : {key, text}) {
            if (table_.size() + part.size() + 2 > static_cast<std::size_t>(max_units)) {
                table_.resize(start);  // no half entry stays behind
                return false;
            }
            table_ += static_cast<char16_t>(part.size() + 2);
            table_ += part;
            table_ += char16_t(0);
        }
        return true;
    };

    // The first unit (the byte-order mark) is skipped unread, and so is the
    // unit after each carriage return (its line feed).
    const std::size_t count = bytes.size() / 2;
    std::u16string line;
    for (std::size_t i = 1; i < count; ++i) {
        const auto c = static_cast<char16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
        if (c != u'\r') {
            line += c;
            continue;
        }
        ++i;
        if (!is_comment(line) && !append(line)) {
            report_untranslated(too_long_message);
            return load_result::damaged;
        }
        line.clear();
    }
    if (!line.empty() && !is_comment(line) && !append(line)) {
        report_untranslated(too_long_message);
        return load_result::damaged;
    }
    return load_result::loaded;
}

void language_table::write_cache(std::u16string_view path) const {
    std::uint8_t header[cache_header_size] = {};
    put_int32(header + 4, 1);
    put_int32(header + 8, static_cast<std::int32_t>(2 * table_.size()));
    // A cache that cannot be written costs only a slower next start.
    atomic_file_writer writer(device_files(), path);
    if (!writer.open()) return;
    writer.write(header, sizeof header);
    writer.write(table_.data(), 2 * table_.size());
    writer.commit();
}

}  // namespace kelvane
