#pragma once
// The statistics chart engine: a list of named entries with one value each,
// filled by the record stores, prepared into shares and colours, and drawn as
// a column, line or pie chart with a five-row legend. It keeps the selected
// entry and the span of record dates the filling covered, and can write a
// rectangle of a drawing surface to a 24-bit bitmap file.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/charts/chart_texts.h"
#include "core/stores/chart_sink.h"
#include "platform/dc.h"

namespace kelvane {

enum class chart_kind : std::int32_t { columns = 0, pie = 1, line = 2 };

// What a legend row writes of its entry, from the name on the left to the
// right end. A legend format is the row's items as their letters, in the
// order the handheld's files and reports spell them ("MZV": name, share of
// the total, value).
enum class legend_item : char16_t {
    name = u'M',  // the entry's name; on line and column charts, a mileage
    note = u'N',
    value = u'V',
    date = u'D',
    share_of_total = u'Z',
    share_of_max = u'X',
};

// The legend format of the items, in order.
std::u16string legend_format_of(std::initializer_list<legend_item> items);

// The desktop's highlight colours, which mark the selected legend row; the
// program reads them from the system at start and hands them over.
struct chart_colours {
    colour highlight = rgb(0, 0, 128);
    colour highlight_text = rgb(255, 255, 255);
};

class chart_engine : public chart_sink {
public:
    // One chart entry. Its texts are cut to 30, 30 and 33 units and live in
    // the engine until its entries are cleared.
    struct record_type {
        std::u16string_view name;       // key of add_value; legend column M
        std::u16string_view date_text;  // empty when the date is the short date of the day
        std::u16string_view note_text;  // legend column N
        double value;
        std::int32_t day;  // YYYYMMDD of the entry's one record; 0 for a total
        bool short_date_of_day;
        std::uint16_t date_language;
        double share_of_max;    // value / max_value
        double share_of_total;  // value / total_value
        kelvane::colour colour;

        // The date as the legend shows it (column D).
        std::u16string shown_date() const;
    };

    chart_engine();

    // chart_sink
    void clear_entries() override;
    void add_value(std::u16string_view name, double value, int day, std::u16string_view date_text,
                   std::u16string_view note_text) override;
    void add_values(std::span<const chart_value> values) override;
    void note_date(int year, int month, int day) override;
    void expect_entries(std::size_t count) override;

    // Computes the shares and gives every entry a colour the surface can
    // show exactly (a tap finds its entry by the colour under the pen).
    void prepare_entries(dc& surface);

    // Each returns true when the selection moved.
    bool select_previous();
    bool select_next();
    // Selects the last entry of this colour; nothing changes when none has it.
    void select_by_colour(colour c);

    // Writes the rectangle (x, y, width, height) of the surface to a 24-bit
    // bottom-up bitmap file on the device. Pixels outside the surface are
    // stored white. On failure the owner is told and false is returned.
    [[nodiscard]] bool save_bitmap(dc& surface, int x, int y, int width, int height,
                                   std::u16string_view path);

    // Drawing into a rectangle of a surface, in the font selected there.
    void draw(dc& surface, const rect& area, bool fit_width);  // by chart_type()
    void draw_columns(dc& surface, const rect& area, bool fit_width);
    void draw_line(dc& surface, const rect& area, bool fit_width);
    void draw_pie(dc& surface, const rect& area);
    void draw_legend(dc& surface, const rect& area);
    // One pie slice from angle a0 to a1 (radians, clockwise from 3 o'clock).
    void draw_slice(dc& surface, double a0, double a1, colour fill, int cx, int cy, int radius);

    const std::vector<record_type>& entries() const { return entries_; }
    double max_value() const { return max_value_; }
    double total_value() const { return total_value_; }
    int first_visible() const { return first_visible_; }
    int last_drawn() const { return last_drawn_; }
    int selected() const { return selected_; }

    const std::u16string& legend_format() const { return legend_format_; }
    void set_legend_format(std::u16string_view codes) { legend_format_ = codes; }
    chart_kind chart_type() const { return chart_kind_; }
    void set_chart_type(chart_kind k) { chart_kind_ = k; }
    // True (the default): colours are read back through the surface.
    bool snap_colours() const { return snap_colours_; }
    void set_snap_colours(bool on) { snap_colours_ = on; }
    const chart_colours& colours() const { return colours_; }
    void set_colours(const chart_colours& c) { colours_ = c; }

    // Local seconds since 1970 of the earliest and latest record dates seen.
    std::int64_t earliest() const { return earliest_; }
    std::int64_t latest() const { return latest_; }
    void set_earliest(std::int64_t seconds) {
        earliest_ = seconds;
        last_noted_.reset();
    }
    void set_latest(std::int64_t seconds) {
        latest_ = seconds;
        last_noted_.reset();
    }

private:
    // Fills the frame, cuts the chart and legend areas; false when there is
    // nothing to draw ("No data" has been written instead).
    bool begin_chart(dc& surface, const rect& area, rect& chart, rect& legend);
    void draw_axes(dc& surface, const rect& chart);
    void draw_marker(dc& surface, const point (&triangle)[3]);

    std::vector<record_type> entries_;
    chart_texts texts_;
    // The slot of `name` in index_: the one holding its entry, or the empty
    // one where it goes.
    std::size_t find_slot(std::u16string_view name, std::uint32_t hash) const;
    // Makes the index big enough for this many entries.
    void grow_index(std::size_t entries);

    // Entry of each name by hash: entry position + 1 (0 for an empty slot)
    // beside the name's hash, which places the slot and rules out most
    // other names without reading their entries.
    struct index_slot {
        std::uint32_t entry = 0;
        std::uint32_t hash = 0;
    };
    std::vector<index_slot> index_;
    double max_value_ = 0;
    double total_value_ = 0;
    int first_visible_ = 0;
    int last_drawn_ = 0;
    int selected_ = 0;
    std::u16string legend_format_ =
        legend_format_of({legend_item::name, legend_item::share_of_total, legend_item::value});
    bool snap_colours_ = true;
    std::int64_t earliest_ = 0;
    std::int64_t latest_ = 0;
    // The last day note_date widened the span by, while the span has only
    // widened since.
    struct noted_day {
        int year, month, day;
        bool operator==(const noted_day&) const = default;
    };
    std::optional<noted_day> last_noted_;
    chart_kind chart_kind_ = chart_kind::pie;
    chart_colours colours_;
};

// Writes a picture already encoded (a bitmap, or another format its caller
// makes) to a device file, whole or not at all; never over one of the
// program's own files. On failure the owner is told and false is returned.
[[nodiscard]] bool save_picture_file(std::u16string_view path,
                                     const std::vector<std::uint8_t>& bytes);

}  // namespace kelvane
