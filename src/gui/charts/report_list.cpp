#include "gui/charts/report_list.h"

#include <algorithm>

#include "core/common/scaled_font.h"
#include "gui/widgets/skin.h"

namespace kelvane {

namespace {

// The text starts right of the picture.
constexpr int text_left = 38;
constexpr colour selected_fill = rgb(200, 200, 0);
constexpr colour selected_text = rgb(0, 0, 200);
constexpr colour row_line = rgb(100, 100, 255);
constexpr colour explanation_fill = rgb(230, 230, 230);
constexpr colour explanation_text = rgb(100, 100, 100);
constexpr int name_font_size = 13;

// One line of a row's text with a little room above it.
int line_height() {
    return scaled_font_size(name_font_size) + 4;
}

}  // namespace

report_list::report_list(const skin& pieces, QWidget* parent)
    : drawn_list(parent), pieces_(pieces) {
    fit_rows();
}

void report_list::fit_rows() {
    // On the handheld the picture gives the rows their height; a larger
    // screen's text needs more.
    set_row_height(std::max(skin_piece::report_picture_size + 2, 2 * line_height()));
}

void report_list::add_row(std::u16string_view name, std::u16string_view explanation, int picture) {
    rows_.push_back({std::u16string(name), std::u16string(explanation), picture});
    rows_changed();
}

void report_list::clear_rows() {
    rows_.clear();
    rows_changed();
}

void report_list::draw_row(dc& d, int index, const kelvane::rect& box, bool selected) {
    const row& r = rows_[static_cast<std::size_t>(index)];
    // The row spans the list's full width, whatever its columns.
    const kelvane::rect full{box.left, box.top, std::max(box.right, width()), box.bottom};
    if (selected) {
        d.fill_rect(full, rgb(255, 255, 255));
        d.fill_rect({full.left + text_left, full.top, full.right, full.bottom}, selected_fill);
    } else {
        d.fill_rect(full, rgb(255, 255, 255));
    }
    d.select_pen({pen_style::solid, 1, row_line});
    d.move_to(full.left, full.bottom - 1);
    d.line_to(full.right, full.bottom - 1);

    d.set_background_mode(background_mode::transparent);
    d.select_font({u"Arial", scaled_font_size(name_font_size), 400});
    d.set_text_colour(selected ? selected_text : rgb(0, 0, 0));
    d.draw_text(r.name, {full.left + text_left, full.top + 3, full.right, full.bottom},
                dt_left | dt_singleline | dt_end_ellipsis);
    const int note_top = std::max(20, full.height() - line_height());
    const kelvane::rect note{full.left + text_left, full.top + note_top, full.right,
                             full.bottom - 1};
    d.fill_rect(note, explanation_fill);
    d.set_text_colour(explanation_text);
    d.draw_text(r.explanation, note, dt_left | dt_singleline);

    pieces_.draw_piece(d, full.left, full.top, skin_piece::report_picture_size * r.picture,
                       skin_piece::report_picture_y, skin_piece::report_picture_size,
                       skin_piece::report_picture_size);
}

}  // namespace kelvane
