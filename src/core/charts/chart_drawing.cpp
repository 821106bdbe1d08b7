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
constexpr pen_spec marker_pen{pen_style::solid, 2, rgb(100, 100, 100)};
constexpr pen_spec slice_pen{pen_style::solid, 1, black};

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
    legend = layout.current();
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
    const pen_spec old_pen = surface.select_pen(marker_pen);
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

    const pen_spec old_pen = surface.select_pen(slice_pen);
    const colour old_brush = surface.select_brush(fill);
    surface.polygon(points, 31);
    surface.select_pen(old_pen);
    surface.select_brush(old_brush);
}

void chart_engine::draw_legend(dc& surface, const rect& area) {
    cell_layout rows;
    rows.set_gap(3);
    rows.set_max_width(320);
    rows.set_area(area);

    // The legend starts at the selected entry, so stepping through the
    // entries brings each one to the top row.
    const int count = static_cast<int>(entries_.size());
    const int first = std::max(selected_, 0);
    const int last = std::min(first + 4, count - 1);
    const colour old_text = surface.set_text_colour(black);
    const background_mode old_mode = surface.set_background_mode(background_mode::transparent);
    for (int i = first; i <= last; ++i) {
        const rect row = rows.cut_top(-1, 15, cell_layout::align_left, true);
        if (row.height() < 15) break;  // a short screen shows only the rows that fit
        const record_type& e = entries_[i];

        cell_layout cells;
        cells.set_margins(5, 0);
        cells.set_gap(2);
        cells.set_max_width(280);
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

        const rect swatch = cells.cut_top(14, -1, cell_layout::align_left, false);
        surface.fill_rect(swatch, e.colour);
        outline(surface, swatch);

        for (auto code = legend_format_.rbegin(); code != legend_format_.rend(); ++code) {
            std::u16string text;
            rect cell;
            unsigned flags = dt_center | dt_vcenter | dt_singleline;
            switch (*code) {
                case u'M':
                    cell = cells.cut_top(-1, -1, cell_layout::align_left, false);
                    text = fixed_text(e.name);
                    flags = dt_left | dt_vcenter | dt_singleline;
                    break;
                case u'N':
                    cell = cells.cut_top(0, -1, cell_layout::align_right, false, 25);
                    text = fixed_text(e.note_text);
                    break;
                case u'V':
                    cell = cells.cut_top(0, -1, cell_layout::align_right, false, 26);
                    text = format("%.2f", e.value);
                    break;
                case u'D':
                    cell = cells.cut_top(50, -1, cell_layout::align_right, false);
                    text = fixed_text(e.date_text);
                    break;
                case u'Z':
                    cell = cells.cut_top(0, -1, cell_layout::align_right, false, 25);
                    text = format("%.2f%%", e.share_of_total * 100);
                    break;
                case u'X':
                    cell = cells.cut_top(0, -1, cell_layout::align_right, false, 25);
                    text = format("%.2f%%", e.share_of_max * 100);
                    break;
                default:
                    continue;
            }
            // The name cell gets the row's background too: on the selected
            // row the highlight text would otherwise stand on the white chart
            // background, where the usual white highlight text is invisible.
            surface.fill_rect(cell, background);
            surface.draw_text(text, cell, flags);
        }
    }
    surface.set_background_mode(old_mode);
    surface.set_text_colour(old_text);
}

}  // namespace kelvane
