#include "setup/qt/start_picture.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace kelvane {

start_picture::start_picture(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      picture_(QStringLiteral(":/setup/setup_start.png")) {
    setFixedSize(picture_.size());
}

void start_picture::show_for(int milliseconds, std::function<void()> done) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    QTimer::singleShot(milliseconds, this, [this, done = std::move(done)] {
        close();
        if (done) done();
    });
}

void start_picture::paintEvent(QPaintEvent*) {
    QPainter(this).drawPixmap(0, 0, picture_);
}

}  // namespace kelvane
