#include "gui/records/list_header.h"

#include <QPainter>
#include <algorithm>

#include "core/common/scaled_font.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

list_header::list_header(QWidget* parent) : QWidget(parent) {}

void list_header::set_items(std::vector<item> items) {
    items_ = std::move(items);
    update();
}

void list_header::set_title(int column, std::u16string title) {
    if (column < 0 || column >= static_cast<int>(items_.size())) return;
    items_[static_cast<std::size_t>(column)].title = std::move(title);
    update();
}

void list_header::set_width(int column, int width) {
    if (column < 0 || column >= static_cast<int>(items_.size())) return;
    items_[static_cast<std::size_t>(column)].width = width;
    update();
}

void list_header::set_offset(int x) {
    offset_ = x;
    update();
}

colour list_header::background_for(colour highlight) {
    return rgb(red_of(highlight) / 2, green_of(highlight) / 2, blue_of(highlight) / 2);
}

colour list_header::text_colour_for(colour window_text) {
    // Dark text would vanish on the dark band: lift it towards white, keeping its hue.
    int r = red_of(window_text), g = green_of(window_text), b = blue_of(window_text);
    if (r == 0) r = 10;
    if (g == 0) g = 10;
    if (b == 0) b = 10;
    const int strongest = std::max({r, g, b});
    if (strongest <= 220) {
        r = std::min(255, r * 220 / strongest);
        g = std::min(255, g * 220 / strongest);
        b = std::min(255, b * 220 / strongest);
    }
    return rgb(r, g, b);
}

void list_header::draw(dc& d) {
    const auto sys = device().system_colours();
    const int h = height();
    d.fill_rect({0, 0, d.width(), h}, background_for(sys.highlight));
    const colour text = text_colour_for(sys.window_text);
    d.set_text_colour(text);
    d.set_background_mode(background_mode::transparent);
    const int size = scaled_font_size(12);
    int left = -offset_;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const int right = left + items_[i].width;
        d.select_pen({pen_style::solid, 1, text});
        d.move_to(right - 2, 0);
        d.line_to(right - 2, h);
        // A long title ("Liter/100Km" in a narrow column) gets a smaller
        // font; one too long even then ends in "..." and keeps its start,
        // where a reader looks for it.
        for (int s = size;; --s) {
            d.select_font({u"Arial", s, 700});
            if (s <= 9 || d.text_extent(items_[i].title).width <= right - left - 4) break;
        }
        d.draw_text(items_[i].title, {left + 2, 2, right - 2, h - 2},
                    (i == 0 ? dt_left : dt_center) | dt_vcenter | dt_singleline | dt_end_ellipsis);
        left = right;
    }
}

void list_header::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

}  // namespace kelvane
