#include "platform/qt/device_screen.h"

#include <QPainter>
#include <algorithm>

#include "platform/device_info.h"
#include "platform/qt/device_dialog.h"
#include "platform/services.h"

namespace kelvane {

namespace {
device_screen* current_screen = nullptr;
}

device_screen::device_screen(QWidget* parent) : QWidget(parent), previous_(current_screen) {
    current_screen = this;
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    resize(default_width, default_height);
    set_screen_size(default_width, default_height);
}

device_screen::~device_screen() {
    for (auto* d : layers_) d->setParent(nullptr);
    layers_.clear();
    if (current_screen == this) current_screen = previous_;
}

device_screen* device_screen::current() {
    return current_screen;
}

void device_screen::set_screen_size(int width, int height) {
    if (auto* info = dynamic_cast<host_device_info*>(&device()))
        info->set_screen_size(width, height);
    if (size() != QSize(width, height)) resize(width, height);
}

void device_screen::attach(device_dialog* d) {
    if (std::find(layers_.begin(), layers_.end(), d) == layers_.end()) layers_.push_back(d);
    if (d->parentWidget() != this) d->setParent(this);
    d->setGeometry(rect());
}

void device_screen::detach(device_dialog* d) {
    layers_.erase(std::remove(layers_.begin(), layers_.end(), d), layers_.end());
}

void device_screen::dismiss_all() {
    auto open = layers_;
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if ((*it)->running() && (*it)->dismissable()) (*it)->end_dialog(device_dialog::dismissed);
}

QImage device_screen::snapshot() {
    QImage img(size(), QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    render(&p);
    return img;
}

void device_screen::resizeEvent(QResizeEvent*) {
    if (auto* info = dynamic_cast<host_device_info*>(&device()))
        info->set_screen_size(width(), height());
    for (auto* d : layers_) d->setGeometry(rect());
}

}  // namespace kelvane
