#include "gui/trips/trip_list.h"

#include <algorithm>

#include "core/common/scaled_font.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

trip_list::trip_list(QWidget* parent) : drawn_list(parent), font_height_(scaled_font_size(12)) {
    set_row_height(font_height_ + 4);
}

void trip_list::set_rows(std::vector<trip_row> rows) {
    rows_ = std::move(rows);
    rows_changed();
}

int trip_list::selected_trip() const {
    const int row = selected();
    return row >= 0 && row < row_count() ? rows_[static_cast<std::size_t>(row)].trip_index : -1;
}

font_request trip_list::row_font(const trip_row& row) const {
    return {row.font_size > 0 ? row.font_name : u"System",
            row.font_size > 0 ? row.font_size : font_height_, 400};
}

int trip_list::cost_width() const {
    QImage probe(1, 1, QImage::Format_RGB32);
    image_dc d(probe);
    int widest = 0;
    for (const trip_row& row : rows_) {
        d.select_font(row_font(row));
        widest = std::max(widest, d.text_extent(row.cost_text).width);
    }
    // The text keeps 2 pixels from the column's right edge and a few from its left.
    return std::max(widest + 6, heading_width(1));
}

void trip_list::draw_row(dc& d, int index, const kelvane::rect& r, bool selected) {
    const trip_row& row = rows_[static_cast<std::size_t>(index)];
    const auto sys = device().system_colours();
    const colour background = selected ? sys.highlight : row.background;
    d.set_text_colour(selected ? sys.highlight_text : row.text_colour);
    d.set_background_mode(background_mode::transparent);
    d.select_font(row_font(row));

    int x = r.left;
    for (std::size_t c = 0; c < columns().size(); ++c) {
        const kelvane::rect cell{x, r.top, x + columns()[c].width, r.bottom};
        x = cell.right;
        d.fill_rect(cell, background);
        if (c == 0) {
            if (row.indent != 0) {
                // A tree line joins a trip's detail rows; it ends half-way
                // down on the list's last row.
                const int middle = cell.top + cell.height() / 2;
                const bool last = index == row_count() - 1;
                d.select_pen(
                    {pen_style::solid, 1, selected ? sys.highlight_text : row.text_colour});
                d.move_to(cell.left + 5, cell.top);
                d.line_to(cell.left + 5, last ? middle : cell.bottom);
                d.move_to(cell.left + 5, middle);
                d.line_to(cell.left + 10, middle);
            }
            d.draw_text(row.text, {cell.left + row.indent + 3, cell.top, cell.right, cell.bottom},
                        dt_left | dt_vcenter | dt_singleline);
        } else {
            d.draw_text(row.cost_text, {cell.left, cell.top, cell.right - 2, cell.bottom},
                        dt_right | dt_vcenter | dt_singleline);
        }
    }
}

}  // namespace kelvane
