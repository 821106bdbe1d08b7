#include "shell/device_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSettings>

#include "platform/qt/device_dialog.h"

namespace kelvane {

namespace {

struct screen_choice {
    int width, height;
};
constexpr screen_choice screen_sizes[] = {{240, 320}, {240, 240}, {320, 240}, {480, 640}};

QSettings host_settings() {
    return QSettings("Kelvane", "Kelvane");
}

}  // namespace

int device_window::saved_zoom() {
    const int z = host_settings().value("zoom", 1).toInt();
    return z >= 1 && z <= 3 ? z : 1;
}

device_window::device_window(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle("Kelvane");
    setWindowIcon(QIcon(":/kelvane/kelvane128.png"));
    screen_ = new device_screen(this);
    setCentralWidget(screen_);

    auto settings = host_settings();
    int w = settings.value("screen_width", 240).toInt();
    int h = settings.value("screen_height", 320).toInt();
    bool known = false;
    for (const auto& s : screen_sizes) known = known || (s.width == w && s.height == h);
    if (!known) w = 240, h = 320;

    QMenu* device_menu = menuBar()->addMenu("&Screen");
    auto* sizes = new QActionGroup(this);
    for (const auto& s : screen_sizes) {
        QAction* a = device_menu->addAction(QString("%1 x %2").arg(s.width).arg(s.height));
        a->setCheckable(true);
        a->setChecked(s.width == w && s.height == h);
        sizes->addAction(a);
        connect(a, &QAction::triggered, this, [this, s] { choose_size(s.width, s.height); });
    }
    device_menu->addSeparator();
    auto* zooms = new QActionGroup(this);
    for (int z = 1; z <= 3; ++z) {
        QAction* a = device_menu->addAction(QString("Zoom %1x").arg(z));
        a->setCheckable(true);
        a->setChecked(z == saved_zoom());
        zooms->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { choose_zoom(z); });
    }
    screen_->set_screen_size(w, h);
    fit_window();
}

void device_window::fit_window() {
    screen_->setMinimumSize(screen_->size());
    screen_->setMaximumSize(screen_->size());
    adjustSize();
}

void device_window::choose_size(int width, int height) {
    auto settings = host_settings();
    settings.setValue("screen_width", width);
    settings.setValue("screen_height", height);
    screen_->setMinimumSize(0, 0);
    screen_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    screen_->set_screen_size(width, height);
    fit_window();
}

void device_window::choose_zoom(int zoom) {
    host_settings().setValue("zoom", zoom);
    // The zoom applies to the whole program from its start: end this run
    // the normal way (everything is written) and start again.
    restart_ = true;
    screen_->dismiss_all();
}

void device_window::closeEvent(QCloseEvent* e) {
    // Closing the window ends the program as "Exit" does; the data is written
    // once the main screen has closed.
    screen_->dismiss_all();
    e->accept();
}

}  // namespace kelvane
