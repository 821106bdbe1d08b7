// The drawing half of the chart engine: frame, axes, columns, line, pie and
// legend. Everything is drawn from the prepared entries and the selection;
// the only state written back is last_drawn, which select_next uses to
// scroll the columns and line once the selection leaves what was drawn.

#include <algorithm>
#include <cmath>

#include "core/charts/cell_layout.h"
#include "core/charts/chart_engine.h"
#include "core/common/text.h"
#include "core/common/translate.h"

namespace kelvane {

namespace {

constexpr colour white = rgb(255, 255, 255);
constexpr colour black = rgb(0, 0, 0);
constexpr colour no_data_text = rgb(100, 100, 200);
constexpr colour legend_background = rgb(220, 220, 220);
constexpr colour marker_fill = rgb(200, 200, 255);
constexpr pen_request marker_pen{pen_style::solid, 2, rgb(100, 100, 100)};
constexpr pen_request slice_pen{pen_style::solid, 1, black};

// The full turn of a pie is 6.28 held as a float, not 2 pi, as on the
// handheld: the circle closes about 0.003 radians short of its start.
constexpr double full_turn = static_cast<double>(6.28f);

// The pixel height of a share of the axis. Shares are normally 0..1; a value
// read from a damaged file must not turn into an undefined conversion.
int scaled_height(int axis_height, double share) {
    if (!std::isfinite(share)) return 0;
    double h = static_cast<double>(static_cast<float>(axis_height)) * share;
    h = std::clamp(h, -1.0e6, 1.0e6);
    return static_cast<int>(h);
}

// Where the columns or points of a chart go inside its frame c: the base
// line, the height a share of 1 reaches, and the x range from the axis on.
struct plot_area {
    int axis;
    int axis_height;
    int x0, x1;
};
plot_area plot_area_of(const rect& c) {
    return {c.bottom - 15, (c.bottom - 15) - (c.top + 15), c.left + 15, c.right - 15};
}

double safe_share(double share) {
    return std::isfinite(share) ? share : 0.0;
}

// The outline of a rectangle in the current pen, leaving brush and fill alone.
void outline(dc& surface, const rect& r) {
    surface.move_to(r.left, r.top);
    surface.line_to(r.right - 1, r.top);
    surface.line_to(r.right - 1, r.bottom - 1);
    surface.line_to(r.left, r.bottom - 1);
    surface.line_to(r.left, r.top);
}

}  // namespace

void chart_engine::draw(dc& surface, const rect& area, bool fit_width) {
    switch (chart_kind_) {
        case chart_kind::columns:
            draw_columns(surface, area, fit_width);
            break;
        case chart_kind::pie:
            draw_pie(surface, area);
            break;
        case chart_kind::line:
            draw_line(surface, area, fit_width);
            break;
    }
}

bool chart_engine::begin_chart(dc& surface, const rect& area, rect& chart, rect& legend) {
    surface.fill_rect(area, white);
    // Beyond 320 pixels the chart keeps its handheld width and stands centred.
    cell_layout layout;
    layout.set_gap(5);
    layout.set_max_width(320);
    layout.set_area(area);
    chart = layout.cut_top(-1, static_cast<int>(area.height() * 66 * 0.01), cell_layout::align_left,
                           true);
    // The legend below it takes the whole width: its rows are read, not
    // compared with the chart's proportions.
    legend = {area.left, layout.current().top, area.right, layout.current().bottom};
    if (!entries_.empty()) return true;

    surface.set_text_colour(no_data_text);
    surface.draw_text(tr(u"No data"), chart, dt_center | dt_vcenter | dt_singleline);
    surface.set_text_colour(black);
    return false;
}

void chart_engine::draw_axes(dc& surface, const rect& c) {
    surface.move_to(c.left + 10, c.bottom - 15);
    surface.line_to(c.right - 10, c.bottom - 15);
    surface.move_to(c.left + 15, c.top + 10);
    surface.line_to(c.left + 15, c.bottom - 10);
    surface.move_to(c.left + 10, c.top + 15);
    surface.line_to(c.left + 15, c.top + 15);
    const int middle = (c.top + 15) + ((c.bottom - 15) - (c.top + 15)) / 2;
    surface.move_to(c.left + 15, middle);
    surface.line_to(c.left + 10, middle);
}

void chart_engine::draw_marker(dc& surface, const point (&triangle)[3]) {
    const pen_request old_pen = surface.select_pen(marker_pen);
    const colour old_brush = surface.select_brush(marker_fill);
    surface.polygon(triangle, 3);
    surface.select_pen(old_pen);
    surface.select_brush(old_brush);
}

void chart_engine::draw_columns(dc& surface, const rect& area, bool fit_width) {
    rect c, legend;
    if (!begin_chart(surface, area, c, legend)) return;
    draw_axes(surface, c);

    const int count = static_cast<int>(entries_.size());
    auto [axis, axis_height, x0, x1] = plot_area_of(c);

    int gap = 12, bar = 22;
    if (fit_width) {
        const float w = static_cast<float>(x1 - x0) / count;
        gap = std::clamp(static_cast<int>(w * (1.0 / 3.0)), 3, 10);
        bar = std::clamp(static_cast<int>(w * (2.0 / 3.0)), 5, 30);
    }
    if (count * (gap + bar) < x1 - x0) x0 += (x1 - count * (gap + bar) - x0) / 2;

    int position = x0;
    for (int i = std::max(first_visible_, 0); i < count; ++i) {
        const record_type& e = entries_[i];
        const int left = position + gap;
        const int right = left + bar;
        if (right > x1) break;
        const int top = axis - scaled_height(axis_height, e.share_of_max);
        surface.fill_rect({left, top, right, axis}, e.colour);
        surface.move_to(left, axis);
        surface.line_to(left, top);
        surface.line_to(right, top);
        surface.line_to(right, axis);
        if (i == selected_) {
            const point marker[3] = {
                {left, top - 15}, {right, top - 15}, {left + (right - left) / 2, top - 4}};
            draw_marker(surface, marker);
        }
        last_drawn_ = i;
        position = right;
    }
    draw_legend(surface, legend);
}

void chart_engine::draw_line(dc& surface, const rect& area, bool fit_width) {
    rect c, legend;
    if (!begin_chart(surface, area, c, legend)) return;
    draw_axes(surface, c);

    const int count = static_cast<int>(entries_.size());
    auto [axis, axis_height, x0, x1] = plot_area_of(c);

    int step = 35;
    if (fit_width)
        step = std::clamp(static_cast<int>(static_cast<float>(x1 - x0) / count * 0.825), 3, 35);
    if (count * (step + 5) < x1 - x0) x0 += (x1 - count * (step + 5) - x0) / 2;

    // Positions first, so the connecting lines lie under the squares.
    struct placed {
        int index;
        int left;
        int top;
    };
    std::vector<placed> points;
    int position = x0;
    for (int i = std::max(first_visible_, 0); i < count; ++i) {
        const int left = position + step;
        if (left + 5 > x1) break;
        points.push_back({i, left, axis - scaled_height(axis_height, entries_[i].share_of_max)});
        position = left + 5;
    }

    for (std::size_t k = 0; k < points.size(); ++k) {
        const point centre{points[k].left + 2, points[k].top + 2};
        if (k == 0)
            surface.move_to(centre.x, centre.y);
        else
            surface.line_to(centre.x, centre.y);
    }
    for (const placed& p : points) {
        const record_type& e = entries_[p.index];
        const rect square{p.left, p.top, p.left + 5, p.top + 5};
        surface.fill_rect(square, e.colour);
        outline(surface, square);
        if (p.index == selected_) {
            const point marker[3] = {
                {square.left, square.top - 10},
                {square.right, square.top - 10},
                {square.left + (square.right - square.left) / 2, square.top - 4}};
            draw_marker(surface, marker);
        }
        last_drawn_ = p.index;
    }
    draw_legend(surface, legend);
}

void chart_engine::draw_pie(dc& surface, const rect& area) {
    rect c, legend;
    if (!begin_chart(surface, area, c, legend)) return;

    const int cx = c.left + (c.right - c.left) / 2;
    const int cy = c.top + (c.bottom - c.top) / 2;
    const int radius = std::max(std::min(c.right - c.left, c.bottom - c.top) / 2 - 10, 0);

    double angle = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const record_type& e = entries_[i];
        const double end = angle + safe_share(e.share_of_total) * full_turn;
        if (static_cast<int>(i) == selected_) {
            draw_slice(surface, angle, end, marker_fill, cx, cy, radius + 4);
            draw_slice(surface, angle, end, white, cx, cy, radius);
        }
        draw_slice(surface, angle, end, e.colour, cx, cy, radius);
        angle = end;
    }
    draw_legend(surface, legend);
}

void chart_engine::draw_slice(dc& surface, double a0, double a1, colour fill, int cx, int cy,
                              int radius) {
    const double step = (a1 - a0) * (1.0 / 30.0);
    point points[31];
    points[0] = {cx, cy};
    auto on_arc = [&](double a) {
        return point{cx + static_cast<int>(radius * std::cos(a)),
                     cy + static_cast<int>(radius * std::sin(a))};
    };
    for (int k = 0; k < 29; ++k) points[1 + k] = on_arc(a0 + k * step);
    points[30] = on_arc(a1);

    const pen_request old_pen = surface.select_pen(slice_pen);
    const colour old_brush = surface.select_brush(fill);
    surface.polygon(points, 31);
    surface.select_pen(old_pen);
    surface.select_brush(old_brush);
}

namespace {

// One cell of a legend row: what it says and how much of the row it asks for.
struct legend_cell {
    legend_item item;
    std::u16string text;
    int nominal;  // the width the row's layout gives it on the handheld
    bool figure;  // a number or a date: read whole or not at all
};

// The smallest size a legend is written in to make room for its names; the
// figures alone may take it down to the last size below.
constexpr int smallest_legend_font = 9;
constexpr int last_legend_font = 6;

// The cells of an entry's row, from the right end of the row to the name.
std::vector<legend_cell> legend_cells(std::u16string_view legend_format,
                                      const chart_engine::record_type& e, int inner_width) {
    std::vector<legend_cell> cells;
    auto percent = [&](int p) {
        return static_cast<int>(static_cast<float>(inner_width) * p * 0.01f);
    };
    for (auto code = legend_format.rbegin(); code != legend_format.rend(); ++code) {
        const auto item = static_cast<legend_item>(*code);
        switch (item) {
            case legend_item::name: {
                // The line and column charts name their entries by mileage,
                // which is read like any figure.
                std::u16string name = std::u16string(e.name);
                const bool mileage = reads_as_figure(name);
                cells.push_back({item, std::move(name), 0, mileage});
                break;
            }
            case legend_item::note:
                cells.push_back({item, std::u16string(e.note_text), percent(25), false});
                break;
            case legend_item::value:
                cells.push_back({item, format("%.2f", e.value), percent(26), true});
                break;
            case legend_item::date:
                cells.push_back({item, e.shown_date(), 50, true});
                break;
            case legend_item::share_of_total:
                cells.push_back(
                    {item, format("%.2f%%", e.share_of_total * 100), percent(25), true});
                break;
            case legend_item::share_of_max:
                cells.push_back({item, format("%.2f%%", e.share_of_max * 100), percent(25), true});
                break;
            default:
                break;
        }
    }
    return cells;
}

// One column of the legend, the same cell of every row shown.
struct legend_column {
    int nominal = 0;
    bool figure = true;  // false when any row writes a name or note in it
    int needed = 0;      // the widest text of the column in the current font
    int least = 0;       // what a name or note must keep before the font shrinks
    int width = 0;
};

// The columns' widths in the current font for rows that share `room` pixels
// (gaps already taken off): every figure as wide as its widest text, then
// the names as much as they need of what is left, then the figures up to
// their usual width, and the rest to the names (or, with none, the first
// column). Returns false when a name or note gets less than its least
// width or the figures do not fit at all.
bool share_legend_width(std::vector<legend_column>& columns, int room) {
    int left = room;
    int names_needed = 0;
    for (legend_column& c : columns) {
        c.width = c.figure ? c.needed : 0;
        left -= c.width;
        if (!c.figure) names_needed += c.needed;
    }
    if (left < 0) return false;

    bool names_fit = true;
    if (names_needed > 0) {
        const int for_names = std::min(left, names_needed);
        for (legend_column& c : columns) {
            if (c.figure) continue;
            c.width = static_cast<int>(static_cast<long long>(for_names) * c.needed / names_needed);
            if (c.width < c.least) names_fit = false;
            left -= c.width;
        }
    }
    for (legend_column& c : columns) {
        if (!c.figure || c.width >= c.nominal) continue;
        const int more = std::min(left, c.nominal - c.width);
        c.width += more;
        left -= more;
    }
    if (left > 0 && !columns.empty()) {
        auto name = std::find_if(columns.begin(), columns.end(),
                                 [](const legend_column& c) { return !c.figure; });
        (name != columns.end() ? *name : columns.back()).width += left;
    }
    return names_fit;
}

}  // namespace

void chart_engine::draw_legend(dc& surface, const rect& area) {
    // The legend rows stand as high as their text, never lower than the
    // handheld's 15 pixels.
    const font_request font = surface.select_font({});
    surface.select_font(font);
    const int row_height = std::max(15, font.pixel_height);

    // The legend takes the whole width of its area, however wide the screen:
    // the more room its columns get, the less of a name or note is cut.
    cell_layout rows;
    rows.set_gap(3);
    rows.set_max_width(area.width());
    rows.set_area(area);

    // The legend starts at the selected entry, so stepping through the
    // entries brings each one to the top row.
    const int count = static_cast<int>(entries_.size());
    const int first = std::max(selected_, 0);
    const int last = std::min(first + 4, count - 1);
    if (first > last) return;

    // Every row has the same cells inside the same margins.
    constexpr int margin = 5, swatch_width = 14, gap = 2, padding = 4;
    const int inner_width = std::max(rows.full().width() - 2 * margin, 0);

    std::vector<std::vector<legend_cell>> texts;
    for (int i = first; i <= last; ++i)
        texts.push_back(legend_cells(legend_format_, entries_[i], inner_width));
    std::vector<legend_column> columns(texts.front().size());
    for (std::size_t k = 0; k < columns.size(); ++k) {
        columns[k].nominal = texts.front()[k].nominal;
        for (const auto& row : texts) columns[k].figure = columns[k].figure && row[k].figure;
    }
    const int room = inner_width - swatch_width - gap * static_cast<int>(columns.size());

    // A number or a date is never cut: each figure's column widens to its
    // widest text and the names and notes give up the room (ending in
    // "..."). Where even then the figures, or the first letters of the
    // names, do not fit, the whole legend is written smaller.
    // The entries' names (a pie's Fuel, Repair and Fees) say which slice a
    // row is about and are kept whole where a smaller font allows; a note
    // keeps its first letters.
    auto measure = [&] {
        const int first_letters = surface.text_extent(u"0000").width + padding;
        for (std::size_t k = 0; k < columns.size(); ++k) {
            legend_column& c = columns[k];
            c.needed = 0;
            for (const auto& row : texts)
                c.needed = std::max(c.needed, surface.text_extent(row[k].text).width + padding);
            c.least = texts.front()[k].item == legend_item::name
                          ? c.needed
                          : std::min(c.needed, first_letters);
        }
        return share_legend_width(columns, room);
    };
    font_request fitted = font;
    for (;;) {
        const bool names_fit = measure();
        const bool figures_fit = std::all_of(columns.begin(), columns.end(), [](const auto& c) {
            return !c.figure || c.width >= c.needed;
        });
        const int floor = figures_fit ? smallest_legend_font : last_legend_font;
        if ((names_fit && figures_fit) || fitted.pixel_height <= floor) break;
        --fitted.pixel_height;
        surface.select_font(fitted);
    }

    const colour old_text = surface.set_text_colour(black);
    const background_mode old_mode = surface.set_background_mode(background_mode::transparent);
    for (int i = first; i <= last; ++i) {
        const rect row = rows.cut_top(-1, row_height, cell_layout::align_left, true);
        if (row.height() < row_height) break;  // a short screen shows only the rows that fit
        const record_type& e = entries_[i];

        cell_layout cells;
        cells.set_margins(margin, 0);
        cells.set_gap(gap);
        cells.set_max_width(row.width());
        cells.set_area(row);
        const rect inner = cells.full();

        colour background = legend_background;
        if (i == selected_) {
            outline(surface, {inner.left - 2, inner.top - 2, inner.right + 1, inner.bottom + 1});
            surface.set_text_colour(colours_.highlight_text);
            background = colours_.highlight;
        } else {
            surface.set_text_colour(black);
        }

        const rect swatch = cells.cut_top(swatch_width, -1, cell_layout::align_left, false);
        surface.fill_rect(swatch, e.colour);
        outline(surface, swatch);

        const auto& row_cells = texts[static_cast<std::size_t>(i - first)];
        for (std::size_t k = 0; k < row_cells.size(); ++k) {
            const legend_cell& c = row_cells[k];
            // The last cell, at the left end, takes what the others leave.
            const bool leftmost = k + 1 == row_cells.size();
            const rect cell = cells.cut_top(leftmost ? -1 : columns[k].width, -1,
                                            cell_layout::align_right, false);
            unsigned flags = dt_center | dt_vcenter | dt_singleline;
            if (!columns[k].figure) {
                // A name or note too long ends in "..."; the name reads from
                // its left, as on the handheld.
                flags |= dt_end_ellipsis;
                if (c.item == legend_item::name)
                    flags = dt_left | dt_vcenter | dt_singleline | dt_end_ellipsis;
            }
            // The name cell gets the row's background too: on the selected
            // row the highlight text would otherwise stand on the white chart
            // background, where the usual white highlight text is invisible.
            surface.fill_rect(cell, background);
            surface.draw_text(c.text, cell, flags);
        }
    }
    surface.select_font(font);
    surface.set_background_mode(old_mode);
    surface.set_text_colour(old_text);
}

}  // namespace kelvane
