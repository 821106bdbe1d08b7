#include "setup/qt/setup_button.h"

#include <QImage>
#include <QPainter>

#include "platform/qt/qpainter_dc.h"
#include "setup/setup_button_face.h"

namespace kelvane {

setup_button::setup_button(QWidget* parent) : QAbstractButton(parent), text_(setup_button_text) {
    setFocusPolicy(Qt::StrongFocus);
}

void setup_button::set_text_colour(colour c) {
    if (c == text_) return;
    text_ = c;
    update();
}

void setup_button::paintEvent(QPaintEvent*) {
    // The face is drawn in device pixels of its own, then shown scaled with the window.
    QImage face(size(), QImage::Format_RGB32);
    face.fill(Qt::white);
    {
        image_dc d(face);
        d.select_font({u"System", 13, 400});
        draw_setup_button(d, {0, 0, width(), height()}, isDown(), text().toStdU16String(), text_);
    }
    QPainter(this).drawImage(0, 0, face);
}

}  // namespace kelvane
