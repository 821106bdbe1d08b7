#include "core/charts/chart_engine.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#include "core/charts/chart_palette.h"
#include "core/common/messages.h"
#include "core/common/problems.h"
#include "core/common/program_files.h"
#include "core/common/text.h"
#include "platform/local_time.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// The bitmap file's headers: 14 bytes of file header, 40 of information header.
constexpr std::uint32_t bitmap_header_size = 54;

void put16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// An entry's text cut to its capacity in units, as a field of that size
// holds it: never inside a surrogate pair, and ending at a zero unit.
std::u16string_view entry_text(std::u16string_view text, std::size_t capacity) {
    std::size_t n = text.size() < capacity ? text.size() : capacity;
    if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    text = text.substr(0, n);
    return text.substr(0, text.find(u'\0'));
}

constexpr std::size_t name_capacity = 30;
constexpr std::size_t date_capacity = 30;
constexpr std::size_t note_capacity = 33;

}  // namespace

chart_engine::chart_engine() {
    const local_time today = device_clock().now();
    earliest_ = to_local_seconds(today.year, today.month, today.day, 0, 0, 0);
    latest_ = to_local_seconds(today.year, today.month, today.day, 23, 59, 59);
}

void chart_engine::clear_entries() {
    entries_.clear();
    texts_.clear();
    index_.clear();
    max_value_ = 0;
    total_value_ = 0;
    first_visible_ = 0;
    last_drawn_ = 0;
    selected_ = 0;
}

namespace {

std::uint32_t name_hash(std::u16string_view name) {
    // Four units at a time: the names of a long chart are looked up once
    // each, and a unit-by-unit hash would be a long chain of multiplications.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ name.size();
    std::size_t i = 0;
    for (; i + 4 <= name.size(); i += 4) {
        std::uint64_t units;
        std::memcpy(&units, name.data() + i, sizeof units);
        h = (h ^ units) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    std::uint64_t rest = 0;
    for (; i < name.size(); ++i) rest = (rest << 16) | name[i];
    h = (h ^ rest) * 0xC4CEB9FE1A85EC53ull;
    // Carries the high bits down to the low ones that place a slot.
    return static_cast<std::uint32_t>(h ^ (h >> 33));
}

}  // namespace

std::size_t chart_engine::find_slot(std::u16string_view name, std::uint32_t hash) const {
    // Open addressing over a power-of-two table: the first slot that is
    // empty or holds the entry of this name.
    const std::size_t mask = index_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const index_slot& held = index_[i];
        if (held.entry == 0 || (held.hash == hash && entries_[held.entry - 1].name == name))
            return i;
    }
}

void chart_engine::grow_index(std::size_t entries) {
    // Powers of two only: the table is indexed by a mask. At most half full.
    std::size_t size = 64;
    while (size < 2 * (entries + 1)) size *= 2;
    if (size <= index_.size()) return;
    if (entries_.empty()) {
        // Nothing to move: the table of the last chart is emptied and reused.
        index_.assign(size, index_slot{});
        return;
    }
    std::vector<index_slot> old(size);
    old.swap(index_);
    const std::size_t mask = size - 1;
    for (const index_slot& held : old) {
        if (held.entry == 0) continue;
        std::size_t i = held.hash & mask;
        while (index_[i].entry != 0) i = (i + 1) & mask;
        index_[i] = held;
    }
}

void chart_engine::expect_entries(std::size_t count) {
    entries_.reserve(entries_.size() + count);
    grow_index(entries_.size() + count);
}

std::u16string legend_format_of(std::initializer_list<legend_item> items) {
    std::u16string format;
    for (legend_item item : items) format += static_cast<char16_t>(item);
    return format;
}

void chart_engine::add_value(std::u16string_view name, double value, int day,
                             std::u16string_view date_text, std::u16string_view note_text) {
    const chart_value one{name, value, day, date_text, note_text};
    add_values(std::span<const chart_value>(&one, 1));
}

void chart_engine::add_values(std::span<const chart_value> values) {
    // Entries are keyed by the name as it is stored, so a name longer than the
    // field still finds the entry it created. Names are unique among the
    // entries, so the index finds the one equal entry a walk over all of them
    // would; a report of many fill-ups stays linear, and looking a name up
    // makes no copy of it.
    constexpr std::size_t step = 64;
    std::array<std::uint32_t, step> hashes;
    std::array<std::u16string_view, step> keys;
    for (std::size_t from = 0; from < values.size(); from += step) {
        const std::size_t count = std::min(step, values.size() - from);
        // Room for all of them first, so that no slot moves while the batch
        // is looked up.
        grow_index(entries_.size() + count);
        const std::size_t mask = index_.size() - 1;
        // The slots of a long chart's index lie far apart in memory: all of
        // the batch's are fetched before the first is needed.
        for (std::size_t k = 0; k < count; ++k) {
            keys[k] = entry_text(values[from + k].name, name_capacity);
            hashes[k] = name_hash(keys[k]);
            __builtin_prefetch(&index_[hashes[k] & mask]);
        }
        for (std::size_t k = 0; k < count; ++k) {
            const chart_value& v = values[from + k];
            const std::u16string_view key = keys[k];
            const std::size_t slot = find_slot(key, hashes[k]);
            if (index_[slot].entry != 0) {
                entries_[index_[slot].entry - 1].value += v.value;
                continue;
            }
            index_[slot] = {static_cast<std::uint32_t>(entries_.size() + 1), hashes[k]};
            record_type& e = entries_.emplace_back();
            e.name = texts_.keep(key);
            if (v.short_date_of_day) {
                e.short_date_of_day = true;
                e.date_language = v.date_language;
            } else {
                e.date_text = texts_.keep(entry_text(v.date_text, date_capacity));
            }
            e.note_text = texts_.keep(entry_text(v.note_text, note_capacity));
            e.value = v.value;
            e.day = v.day;
        }
    }
}

std::u16string chart_engine::record_type::shown_date() const {
    if (!short_date_of_day) return std::u16string(date_text);
    std::u16string text;
    append_short_date_of_day(text, date_language, day);
    return text;
}

void chart_engine::note_date(int year, int month, int day) {
    // A long series brings the same day many times over, and widening by a
    // day already noted changes nothing.
    const noted_day noted{year, month, day};
    if (last_noted_ && *last_noted_ == noted) return;
    last_noted_ = noted;
    const std::int64_t t = to_local_seconds(year, month, day, 1, 1, 1);
    if (t < earliest_) earliest_ = t;
    if (t > latest_) latest_ = t;
}

void chart_engine::prepare_entries(dc& surface) {
    max_value_ = 0;
    total_value_ = 0;
    for (const auto& e : entries_) {
        if (e.value > max_value_) max_value_ = e.value;
        total_value_ += e.value;
    }

    const colour kept = surface.get_pixel(1, 1);
    // A tap finds its entry by colour: no two entries share one.
    const std::span<const colour> colours = distinct_entry_colours(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        record_type& e = entries_[i];
        // A share of a zero maximum or total would be infinite (negative
        // values, or values that cancel out); such entries get no share.
        e.share_of_max = (e.value != 0 && max_value_ != 0) ? e.value / max_value_ : 0;
        e.share_of_total = (e.value != 0 && total_value_ != 0) ? e.value / total_value_ : 0;
        e.colour = colours[i];
        if (snap_colours_) {
            // What the display really shows is what a tap will read back.
            surface.set_pixel(1, 1, colours[i]);
            const colour read = surface.get_pixel(1, 1);
            if (read != invalid_colour) e.colour = read;
        }
    }
    if (kept != invalid_colour)
        surface.set_pixel(1, 1, kept);
    else if (!snap_colours_ && !entries_.empty())
        surface.set_pixel(1, 1, colours[entries_.size() - 1]);  // as the last entry's probe left it
}

bool chart_engine::select_previous() {
    if (selected_ <= 0) return false;
    --selected_;
    if (selected_ < first_visible_ && first_visible_ > 0) --first_visible_;
    return true;
}

bool chart_engine::select_next() {
    const int count = static_cast<int>(entries_.size());
    if (selected_ >= count - 1) return false;
    ++selected_;
    if (selected_ > last_drawn_ && first_visible_ < count - 1) ++first_visible_;
    return true;
}

void chart_engine::select_by_colour(colour c) {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].colour == c) selected_ = static_cast<int>(i);
}

bool chart_engine::save_bitmap(dc& surface, int x, int y, int width, int height,
                               std::u16string_view path) {
    // Keep the whole file within what its 32-bit size fields can say.
    constexpr std::uint64_t max_image = 0xFFFFFFFFull - bitmap_header_size;
    const std::uint64_t row_size =
        (static_cast<std::uint64_t>(width > 0 ? width : 0) * 3 + 3) & ~3ull;
    const std::uint64_t image_size = row_size * static_cast<std::uint64_t>(height > 0 ? height : 0);
    if (width <= 0 || height <= 0 || image_size > max_image) {
        report_problem(msg_write_failed);
        return false;
    }

    std::vector<std::uint8_t> file(bitmap_header_size + image_size, 0);
    std::uint8_t* h = file.data();
    put16(h + 0, 0x4D42);  // "BM"
    put32(h + 2, static_cast<std::uint32_t>(file.size()));
    put32(h + 10, bitmap_header_size);
    put32(h + 14, 40);
    put32(h + 18, static_cast<std::uint32_t>(width));
    put32(h + 22, static_cast<std::uint32_t>(height));
    put16(h + 26, 1);
    put16(h + 28, 24);
    put32(h + 34, static_cast<std::uint32_t>(image_size));

    for (int i = 0; i < height; ++i) {
        // The first stored row is the bottom one.
        std::uint8_t* row = h + bitmap_header_size + (height - 1 - i) * row_size;
        for (int j = 0; j < width; ++j) {
            colour c = surface.get_pixel(x + j, y + i);
            if (c == invalid_colour) c = rgb(255, 255, 255);
            row[3 * j + 0] = static_cast<std::uint8_t>(blue_of(c));
            row[3 * j + 1] = static_cast<std::uint8_t>(green_of(c));
            row[3 * j + 2] = static_cast<std::uint8_t>(red_of(c));
        }
    }

    return save_picture_file(path, file);
}

bool save_picture_file(std::u16string_view path, const std::vector<std::uint8_t>& bytes) {
    if (is_program_file(path)) {
        report_problem(msg_program_file, path);
        return false;
    }
    if (bytes.empty() || !write_file_atomically(device_files(), path, bytes.data(), bytes.size())) {
        report_problem(msg_write_failed);
        return false;
    }
    return true;
}

}  // namespace kelvane
