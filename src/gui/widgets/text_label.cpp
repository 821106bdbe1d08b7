#include "gui/widgets/text_label.h"

#include <QPainter>

#include "gui/widgets/skin.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

text_label::text_label(const skin& pieces, QWidget* parent) : QWidget(parent), pieces_(pieces) {}

void text_label::set_text(std::u16string_view text) {
    text_ = text;
    update();
}

void text_label::draw(dc& d) {
    const int w = width(), h = height();
    d.fill_rect({0, 0, w, h}, background ? *background : device().system_colours().window);
    kelvane::rect r{0, 0, w, h};
    if (icon && !text_.empty()) {
        pieces_.draw_piece_keyed(d, 0, 2, skin_piece::mark_x, skin_piece::mark_y,
                                 skin_piece::mark_size, skin_piece::mark_size, 1, 1, 1);
        r.left += 15;
    }
    d.select_font({font_face, font_height});
    d.set_text_colour(text_colour);
    d.set_background_mode(background_mode::transparent);
    unsigned flags = dt_left | dt_wordbreak;
    switch (align) {
        case centred_middle: {
            flags = dt_center | dt_wordbreak;
            // Wrapped text is centred vertically by measuring its height.
            if (auto* q = dynamic_cast<image_dc*>(&d)) {
                const QRect used = q->painter().boundingRect(QRect(r.left, 0, r.width(), 10000),
                                                             Qt::AlignHCenter | Qt::TextWordWrap,
                                                             QString::fromStdU16String(text_));
                r.top = std::max(0, (h - used.height()) / 2);
            }
            break;
        }
        case centred:
            flags = dt_center | dt_wordbreak;
            break;
        case left_single:
            flags = dt_left | dt_singleline | dt_vcenter;
            break;
        default:
            break;
    }
    d.draw_text(text_, r, flags);
}

void text_label::paintEvent(QPaintEvent*) {
    QImage back(size(), QImage::Format_RGB32);
    {
        image_dc d(back);
        draw(d);
    }
    QPainter(this).drawImage(0, 0, back);
}

}  // namespace kelvane
