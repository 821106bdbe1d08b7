#include "gui/shell/device_window.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSettings>

#include "gui/shell/main_screen.h"
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
    // A size from a damaged or foreign settings file must still fit a desktop.
    if (w < min_width || h < min_height || w > 2000 || h > 2000) w = 240, h = 320;

    QMenu* device_menu = menuBar()->addMenu("&Screen");
    QAction* help = menuBar()->addAction("&Help");
    help->setShortcut(Qt::Key_F1);
    connect(help, &QAction::triggered, this, [this] {
        for (auto* d : screen_->layers())
            if (auto* main = dynamic_cast<main_screen*>(d)) main->help();
    });
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
    // The window takes the screen's size; afterwards the owner may drag it to
    // any size, and the screen follows.
    screen_->setMinimumSize(screen_->size());
    adjustSize();
    screen_->setMinimumSize(min_width, min_height);
}

void device_window::choose_size(int width, int height) {
    screen_->set_screen_size(width, height);
    resize(size() - screen_->size() + QSize(width, height));
    screen_->set_screen_size(width, height);
    remember_size();
}

void device_window::remember_size() {
    auto settings = host_settings();
    settings.setValue("screen_width", screen_->width());
    settings.setValue("screen_height", screen_->height());
}

void device_window::choose_zoom(int zoom) {
    host_settings().setValue("zoom", zoom);
    // The zoom applies to the whole program from its start: end this run
    // the normal way (everything is written) and start again.
    restart_ = true;
    screen_->dismiss_all();
}

void device_window::closeEvent(QCloseEvent* e) {
    remember_size();
    // Closing the window ends the program as "Exit" does. The window stays
    // until the data is written, so that a message about a failed write can
    // still be seen and answered; the program closes it when it ends.
    screen_->dismiss_all();
    e->ignore();
}

}  // namespace kelvane
