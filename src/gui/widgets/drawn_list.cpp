#include "gui/widgets/drawn_list.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "core/common/scaled_font.h"
#include "core/common/translate.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

constexpr colour heading_background = rgb(236, 240, 248);
constexpr colour heading_line = rgb(170, 180, 200);
constexpr colour heading_text = rgb(30, 60, 150);
constexpr colour empty_hint_text = rgb(100, 100, 100);
// A heading's text keeps this much room on either side.
constexpr int heading_margin = 3;

}  // namespace

drawn_list::drawn_list(QWidget* parent) : scrolling_rows(parent) {}

void drawn_list::set_columns(std::vector<column> columns) {
    columns_ = std::move(columns);
    update();
}

void drawn_list::set_column_width(int index, int width) {
    if (index < 0 || index >= static_cast<int>(columns_.size())) return;
    columns_[static_cast<std::size_t>(index)].width = width;
    update();
}

font_request drawn_list::shown_header_font() const {
    font_request f = header_font_;
    f.pixel_height = scaled_font_size(f.pixel_height);
    return f;
}

int drawn_list::rows_top() const {
    return std::max(row_height(), shown_header_font().pixel_height + 4) + 2;
}

int drawn_list::heading_width(int index) const {
    if (index < 0 || index >= static_cast<int>(columns_.size())) return 0;
    QImage probe(1, 1, QImage::Format_RGB32);
    image_dc d(probe);
    d.select_font(shown_header_font());
    return d.text_extent(columns_[static_cast<std::size_t>(index)].heading).width +
           2 * heading_margin + 1;
}

int drawn_list::free_width() const {
    // The bar may come and go with the rows; the columns leave its room.
    return std::max(0, width() - scroll_bar_place().width() - 1);
}

void drawn_list::draw(dc& d) {
    const int w = width(), h = height();
    const int header_height = rows_top();
    d.fill_rect({0, 0, w, h}, rgb(255, 255, 255));
    d.set_background_mode(background_mode::transparent);

    d.fill_rect({0, 0, w, header_height - 1}, heading_background);
    d.fill_rect({0, header_height - 1, w, header_height}, heading_line);
    const font_request heading_font = shown_header_font();
    d.select_font(heading_font);
    d.set_text_colour(heading_text);
    int x = 0;
    for (const column& c : columns_) {
        d.draw_text(
            c.heading, {x + heading_margin, 0, x + c.width - heading_margin, header_height - 1},
            (c.right_aligned ? dt_right : dt_left) | dt_vcenter | dt_singleline | dt_end_ellipsis);
        x += c.width;
        d.fill_rect({x - 1, 2, x, header_height - 3}, heading_line);
    }

    int row_width = 0;
    for (const column& c : columns_) row_width += c.width;
    for_each_shown_row([&](int row, int y) {
        draw_row(d, row, {0, y, row_width, y + row_height()}, row == selected());
    });
    if (row_count() == 0 && !empty_hint_.empty()) {
        // In the headings' face but not bold, grey, so it reads as a note
        // and not as a row.
        d.select_font({heading_font.face, heading_font.pixel_height, 400});
        d.set_text_colour(empty_hint_text);
        const int margin = row_height() / 2;
        d.draw_text(kelvane::tr(empty_hint_),
                    {margin, header_height + row_height(), w - margin, h - row_height()},
                    dt_center | dt_wordbreak);
    }
}

void drawn_list::set_empty_hint(std::u16string_view key) {
    if (empty_hint_ == key) return;
    empty_hint_ = key;
    update();
}

void drawn_list::mousePressEvent(QMouseEvent* e) {
    setFocus();
    if (e->button() != Qt::LeftButton) return;
    const int row = row_at(e->position().toPoint());
    if (row < 0) return;
    select_row(row);
    emit row_tapped(row);
}

void drawn_list::mouseDoubleClickEvent(QMouseEvent* e) {
    const int row = row_at(e->position().toPoint());
    if (row >= 0 && row == selected()) emit row_activated(row);
}

void drawn_list::keyPressEvent(QKeyEvent* e) {
    if (move_selection(*e)) return;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (selected() >= 0) emit row_activated(selected());
        return;
    }
    // Left and Right (and the rest) belong to the page.
    e->ignore();
}

}  // namespace kelvane
