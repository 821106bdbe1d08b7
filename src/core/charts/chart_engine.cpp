#include "core/charts/chart_engine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "core/charts/chart_palette.h"
#include "core/common/messages.h"
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

// Copies a text into an entry's field, cut at the field's capacity. A cut
// never splits a surrogate pair, so a shortened text stays valid UTF-16.
template <std::size_t N>
void set_field(char16_t (&field)[N], std::u16string_view text) {
    std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    set_fixed(field, text.substr(0, n));
}

}  // namespace

chart_engine::chart_engine() {
    const local_time today = device_clock().now();
    earliest_ = to_local_seconds(today.year, today.month, today.day, 0, 0, 0);
    latest_ = to_local_seconds(today.year, today.month, today.day, 23, 59, 59);
}

void chart_engine::clear_entries() {
    entries_.clear();
    index_.clear();
    max_value_ = 0;
    total_value_ = 0;
    first_visible_ = 0;
    last_drawn_ = 0;
    selected_ = 0;
}

namespace {

std::uint64_t name_hash(std::u16string_view name) {
    std::uint64_t h = 1469598103934665603ull;  // FNV-1a
    for (char16_t c : name) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

}  // namespace

std::size_t chart_engine::find_slot(std::u16string_view name, std::uint64_t hash) const {
    // Open addressing over a power-of-two table: the first slot that is
    // empty or holds the entry of this name.
    const std::size_t mask = index_.size() - 1;
    for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask) {
        const std::uint32_t held = index_[i];
        if (held == 0 || fixed_view(entries_[held - 1].name) == name) return i;
    }
}

void chart_engine::add_value(std::u16string_view name, double value, int int1, int int2,
                             std::u16string_view date_text, std::u16string_view note_text) {
    // Entries are keyed by the name as it is stored, so a name longer than the
    // field still finds the entry it created.
    record_type e{};
    set_field(e.name, name);
    const std::u16string_view key = fixed_view(e.name);
    // Names are unique among the entries, so the index finds the one equal
    // entry a walk over all of them would; a report of many fill-ups stays
    // linear, and looking a name up makes no copy of it.
    if (index_.size() < 2 * (entries_.size() + 1)) {
        // Powers of two only: the table is indexed by a mask.
        std::size_t size = 64;
        while (size < 4 * (entries_.size() + 1)) size *= 2;
        index_.assign(size, 0);
        for (std::size_t k = 0; k < entries_.size(); ++k) {
            const std::u16string_view held = fixed_view(entries_[k].name);
            index_[find_slot(held, name_hash(held))] = static_cast<std::uint32_t>(k + 1);
        }
    }
    const std::size_t slot = find_slot(key, name_hash(key));
    if (index_[slot] != 0) {
        entries_[index_[slot] - 1].value += value;
        return;
    }
    index_[slot] = static_cast<std::uint32_t>(entries_.size() + 1);
    set_field(e.date_text, date_text);
    set_field(e.note_text, note_text);
    e.value = value;
    e.int1 = int1;
    e.int2 = int2;
    entries_.push_back(e);
}

void chart_engine::note_date(int year, int month, int day) {
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
    std::unordered_set<colour> used;
    // Each starting colour's search goes on where it last stopped: the
    // colours before that point are all taken already, and a chart of many
    // thousand entries would otherwise walk them again for every entry.
    struct search {
        int tries = 0;
        colour at = 0;
    };
    std::unordered_map<colour, search> searches;
    for (auto& e : entries_) {
        // A share of a zero maximum or total would be infinite (negative
        // values, or values that cancel out); such entries get no share.
        e.share_of_max = (e.value != 0 && max_value_ != 0) ? e.value / max_value_ : 0;
        e.share_of_total = (e.value != 0 && total_value_ != 0) ? e.value / total_value_ : 0;
        const colour first = chart_entry_colour(static_cast<std::size_t>(&e - entries_.data()));
        search& from = searches.try_emplace(first, search{0, first}).first->second;
        // A tap finds its entry by colour: no two entries share one.
        for (; from.tries < 254 && !used.insert(from.at).second; ++from.tries)
            from.at = rgb(red_of(from.at), green_of(from.at), blue_of(from.at) % 254 + 1);
        colour computed = from.at;
        surface.set_pixel(1, 1, computed);
        e.colour = computed;
        if (snap_colours_) {
            // What the display really shows is what a tap will read back.
            const colour read = surface.get_pixel(1, 1);
            if (read != invalid_colour) e.colour = read;
        }
    }
    if (kept != invalid_colour) surface.set_pixel(1, 1, kept);
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
        show_message(msg_write_failed);
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
        show_message_about(msg_program_file, path);
        return false;
    }
    if (bytes.empty() || !write_file_atomically(device_files(), path, bytes.data(), bytes.size())) {
        show_message(msg_write_failed);
        return false;
    }
    return true;
}

}  // namespace kelvane
