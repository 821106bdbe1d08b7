#include "gui/shell/splash_screen.h"

#include <QIcon>
#include <QPainter>

#include "core/common/translate.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {
constexpr int start_timer_id = 1;
}

splash_screen::splash_screen(std::vector<std::function<void()>> steps, QWidget* parent)
    : device_dialog(parent), steps_(std::move(steps)) {
    set_overlay(true);
    set_caption(u"Kelvane");
}

void splash_screen::init_dialog() {
    progress_.clear();
    start_timer(start_timer_id, 100);
}

void splash_screen::add_dot() {
    progress_ += u'.';
    repaint();
}

void splash_screen::on_timer(int id) {
    if (id != start_timer_id) return;
    stop_timer(start_timer_id);
    update();
    for (auto& step : steps_) {
        add_dot();
        step();
    }
    add_dot();
    end_dialog(confirmed);
}

QRect splash_screen::box_rect() const {
    return QRect((width() - box_width) / 2, (height() - box_height) / 2, box_width, box_height);
}

QImage splash_screen::render_box() const {
    QImage img(box_width, box_height, QImage::Format_RGB32);
    image_dc d(img);
    const kelvane::rect client{0, 0, box_width, box_height};
    d.fill_rect(client, rgb(255, 255, 255));
    d.select_pen({pen_style::solid, 1, rgb(0, 0, 0)});
    d.select_null_brush();
    d.rectangle(client);
    d.painter().drawPixmap(40, 40, QIcon(QStringLiteral(":/kelvane/kelvane32.png")).pixmap(32, 32));
    d.set_background_mode(background_mode::transparent);
    d.select_font({u"Arial", 16, 700});
    d.set_text_colour(rgb(30, 60, 150));
    d.draw_text(kelvane::tr(u"Kelvane"), {85, 48, box_width - 4, 70},
                dt_left | dt_singleline | dt_vcenter);
    d.select_font({u"System", 16, 700});
    d.set_text_colour(rgb(0, 0, 0));
    d.draw_text(progress_, {85, 80, box_width - 1, box_height - 1}, dt_left | dt_wordbreak);
    return img;
}

void splash_screen::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(box_rect().topLeft(), render_box());
}

}  // namespace kelvane
