#include "gui/widgets/skin_button.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QThread>
#include <algorithm>

#include "gui/widgets/skin.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

// The smallest caption size that still reads on the handheld's screen.
constexpr int min_fitted_size = 9;

void hline(dc& d, int x0, int x1, int y, colour c) {
    d.select_pen({pen_style::solid, 1, c});
    d.move_to(x0, y);
    d.line_to(x1, y);
}

void vline(dc& d, int x, int y0, int y1, colour c) {
    d.select_pen({pen_style::solid, 1, c});
    d.move_to(x, y0);
    d.line_to(x, y1);
}

}  // namespace

skin_button::skin_button(const skin& pieces, QWidget* parent)
    : QAbstractButton(parent), pieces_(pieces) {
    setFocusPolicy(Qt::StrongFocus);
}

void skin_button::set_style(int style, int piece_x, int piece_y, int piece_width,
                            int piece_height) {
    style_ = style;
    piece_x_ = piece_x, piece_y_ = piece_y, piece_w_ = piece_width, piece_h_ = piece_height;
    update();
}

void skin_button::set_toggled(bool on) {
    toggled_ = on;
    update();
}

void skin_button::set_text(std::u16string_view text) {
    setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

int skin_button::caption_width() const {
    const QFont f = font_size >= 0 ? device_font({font_face, font_size}) : font();
    // The room draw() leaves for the caption inside the face, and an icon's.
    int extra = 8;
    if (style_ == icon_and_text) extra += piece_w_ + 3;
    return QFontMetrics(f).horizontalAdvance(text()) + extra;
}

void skin_button::draw(dc& d, const kelvane::rect& r, bool pressed, bool focused) {
    const int left = r.left, top = r.top, right = r.right, bottom = r.bottom;
    const skin& skin = pieces_;

    if (style_ == banded || style_ == icon_and_text) {
        d.select_pen({pen_style::solid, 1, border});
        d.select_brush(rgb(255, 255, 255));
        d.round_rect(r, 2, 6);
        const int l = left + 2, rr = right - 2;
        d.fill_rect({l, top + 1, rr, bottom - 1}, rgb(255, 255, 255));
        if (pressed || focused) {
            const int mid = top + (bottom - top) / 2, start = top + 1;
            d.fill_rect({l, start, rr, mid}, band_middle);
            d.fill_rect({l, start, rr, start + (mid - start) / 3}, band_dark);
            d.fill_rect({l, start + 2 * (mid - start) / 3, rr, mid}, band_light);
        } else {
            const int start = top + (bottom - top) / 5, end = bottom - 1;
            d.fill_rect({l, start, rr, end}, band_middle);
            d.fill_rect({l, start, rr, start + (end - start) / 3}, band_light);
            d.fill_rect({l, start + 2 * (end - start) / 3, rr, end}, band_dark);
        }
        vline(d, left + 1, top + 1, bottom - 1, inner_line);
        vline(d, right - 2, top + 1, bottom - 1, inner_line);
        hline(d, left + 1, right - 1, bottom - 2, inner_line);
        if (bottom_lines) {
            hline(d, left + 1, right - 2, bottom - 2, line_lower);
            hline(d, left + 1, right - 2, bottom - 3, line_middle);
            hline(d, left + 1, right - 2, bottom - 4, line_upper);
        }
    }
    if (style_ == two_state) {
        skin.draw_piece(d, left, top, piece_x_, toggled_ ? piece_y_ + 33 : piece_y_, piece_w_,
                        piece_h_);
        hline(d, left + 1, right - 2, bottom - 2, rgb(200, 200, 200));
        hline(d, left + 1, right - 2, bottom - 3, rgb(250, 250, 250));
        hline(d, left + 1, right - 2, bottom - 4, rgb(150, 150, 150));
    }
    if (style_ == icon_centred || style_ == icon_and_text) {
        if (pressed) {
            d.fill_rect(r, rgb(255, 255, 255));
        } else if (style_ == icon_centred) {
            skin.draw_piece(d, left + (r.width() - piece_w_) / 2, top + (r.height() - piece_h_) / 2,
                            piece_x_, piece_y_, piece_w_, piece_h_);
        } else {
            skin.draw_piece_keyed(d, left + 3, top + (r.height() - piece_h_) / 2, piece_x_,
                                  piece_y_, piece_w_, piece_h_, 1, 1, 1);
        }
    }

    const std::u16string label = text().toStdU16String();
    if (label.empty()) return;
    kelvane::rect tr = r;
    if (style_ == icon_and_text) tr.left += piece_w_ + 3;
    if (style_ == two_state) tr.top += 20;
    // A caption longer than the button (a translation, most often) is
    // written smaller rather than losing both its ends.
    const int room = tr.right - tr.left - 4;
    if (font_size >= 0) {
        for (int s = font_size;; --s) {
            d.select_font({font_face, s});
            if (s <= min_fitted_size || d.text_extent(label).width <= room) break;
        }
    } else if (auto* q = dynamic_cast<image_dc*>(&d)) {
        QFont f = font();
        q->painter().setFont(f);
        if (d.text_extent(label).width > room) {
            // A font given in points is stepped down in pixels from its own size.
            if (f.pixelSize() <= 0) f.setPixelSize(QFontInfo(f).pixelSize());
            while (f.pixelSize() > min_fitted_size && d.text_extent(label).width > room) {
                f.setPixelSize(f.pixelSize() - 1);
                q->painter().setFont(f);
            }
        }
    }
    d.set_background_mode(background_mode::transparent);
    const unsigned flags = dt_center | dt_vcenter | dt_singleline;
    bool shadow = text_shadow;
    colour fg = text_colour;
    if (style_ == two_state) {
        shadow = false;
        fg = toggled_ ? rgb(0, 0, 0) : rgb(255, 255, 255);
    }
    if (shadow) {
        d.set_text_colour(shadow_colour);
        d.draw_text(label, {tr.left + 1, tr.top + 1, tr.right + 1, tr.bottom + 1}, flags);
    }
    d.set_text_colour(fg);
    d.draw_text(label, tr, flags);
}

QSize skin_button::size_for(int font_pixels) const {
    QFont f = font_size >= 0 ? device_font({font_face, font_size}) : font();
    if (font_pixels > 0) f.setPixelSize(font_pixels);
    const QFontMetrics metrics(f);
    int w = 0, h = 0;
    if (!text().isEmpty()) {
        // The caption's room inside the border, as draw() measures it.
        w = metrics.horizontalAdvance(text()) + 8;
        h = metrics.height() + 6;
    }
    if (style_ == icon_and_text) w += piece_w_ + 3;
    if (style_ == two_state) h += 20;
    if (style_ != banded) {
        w = std::max(w, piece_w_ + 2);
        h = std::max(h, piece_h_ + 2);
    }
    return {w, h};
}

QSize skin_button::sizeHint() const {
    return size_for(0);
}

QSize skin_button::minimumSizeHint() const {
    return size_for(min_fitted_size);
}

void skin_button::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    back.fill(Qt::white);
    const bool pressed = isDown();
    {
        image_dc d(back);
        d.painter().setFont(font());
        draw(d, {0, 0, width(), height()}, pressed, hasFocus());
    }
    QPainter(this).drawImage(0, 0, back);
    // Hold the pressed face long enough to be seen even for a quick tap.
    if (pressed) QThread::msleep(50);
}

}  // namespace kelvane
