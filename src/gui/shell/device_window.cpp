#include "gui/shell/device_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <algorithm>

#include "gui/shell/main_screen.h"
#include "gui/widgets/translated.h"
#include "platform/qt/device_dialog.h"

namespace kelvane {

namespace {

QSettings host_settings() {
    return QSettings(QStringLiteral("Kelvane"), QStringLiteral("Kelvane"));
}

// Before the first window exists the menu bar's height is not known; this
// is at least what the desktop styles give it.
constexpr int assumed_menu_bar_height = 30;
// A window manager's title bar and borders, until one has been measured.
constexpr QSize assumed_frame(10, 40);
// How long a window manager takes to place, frame or resize a window.
constexpr int settle_ms = 250;

}  // namespace

bool fits_room(QSize screen, int menu_bar_height, const desktop_room& room, int zoom) {
    const int width = screen.width() * zoom + room.frame.width();
    const int height = (screen.height() + menu_bar_height) * zoom + room.frame.height();
    return width <= room.available.width() && height <= room.available.height();
}

int fitting_zoom(QSize screen, int menu_bar_height, const desktop_room& room, int wanted) {
    for (int zoom = wanted; zoom > 1; --zoom)
        if (fits_room(screen, menu_bar_height, room, zoom)) return zoom;
    return 1;
}

const std::vector<QSize>& device_window::screen_sizes() {
    static const std::vector<QSize> sizes{{240, 320}, {240, 240}, {320, 240}, {480, 640}};
    return sizes;
}

int device_window::saved_zoom() {
    const int z = host_settings().value("zoom", 1).toInt();
    return z >= 1 && z <= max_zoom ? z : 1;
}

QSize device_window::saved_screen_size() {
    auto settings = host_settings();
    const int w = settings.value("screen_width", 240).toInt();
    const int h = settings.value("screen_height", 320).toInt();
    // A size from a damaged or foreign settings file must still fit a desktop.
    if (w < min_width || h < min_height || w > 2000 || h > 2000) return {240, 320};
    return {w, h};
}

QSize device_window::saved_frame() {
    auto settings = host_settings();
    const QSize f(settings.value("frame_width", -1).toInt(),
                  settings.value("frame_height", -1).toInt());
    if (f.width() < 0 || f.height() < 0 || f.width() > 200 || f.height() > 200)
        return assumed_frame;
    return f;
}

service_margins device_window::saved_service_margins() {
    auto settings = host_settings();
    service_margins margins;
    const auto read = [&](const char* key, double& margin) {
        bool ok = false;
        const double v = settings.value(key).toDouble(&ok);
        if (ok && v >= 0 && v < 1e7) margin = v;
    };
    read("service_due_margin_km", margins.kilometres);
    read("service_due_margin_miles", margins.miles);
    return margins;
}

int device_window::start_zoom(const desktop_room& room) {
    return fitting_zoom(saved_screen_size(), assumed_menu_bar_height, room, saved_zoom());
}

device_window::device_window(int zoom, QWidget* parent) : QMainWindow(parent), zoom_(zoom) {
    setWindowTitle(QStringLiteral("Kelvane"));
    setWindowIcon(QIcon(QStringLiteral(":/kelvane/kelvane128.png")));
    screen_ = new device_screen(this);
    screen_->setMinimumSize(min_width, min_height);
    setCentralWidget(screen_);

    screen_menu_ = menuBar()->addMenu(QString());
    // One size at most is checked (none for a size dragged by hand), one zoom.
    auto* sizes = new QActionGroup(this);
    sizes->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto* zooms = new QActionGroup(this);
    for (const QSize& s : screen_sizes()) {
        QAction* a = screen_menu_->addAction(QString());
        a->setCheckable(true);
        sizes->addAction(a);
        connect(a, &QAction::triggered, this, [this, s] { choose_size(s); });
        size_actions_.emplace_back(s, a);
    }
    screen_menu_->addSeparator();
    for (int z = 1; z <= max_zoom; ++z) {
        QAction* a = screen_menu_->addAction(QString());
        a->setCheckable(true);
        zooms->addAction(a);
        connect(a, &QAction::triggered, this, [this, z] { choose_zoom(z); });
        zoom_actions_.push_back(a);
    }
    zoom_note_ = screen_menu_->addAction(QString());
    zoom_note_->setEnabled(false);
    zoom_note_->setVisible(zoom_ == 0);
    connect(screen_menu_, &QMenu::aboutToShow, this, &device_window::update_menu);

    help_ = menuBar()->addAction(QString());
    help_->setShortcut(Qt::Key_F1);
    connect(help_, &QAction::triggered, this, [this] {
        for (auto* d : screen_->layers())
            if (auto* main = dynamic_cast<main_screen*>(d)) main->help();
    });
    // The desktop's own way to end a program; the data is written as at "Exit".
    quit_ = new QAction(this);
    quit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    addAction(quit_);
    connect(quit_, &QAction::triggered, this, &QWidget::close);
    retranslate();

    const QSize size = saved_screen_size();
    screen_->set_screen_size(size.width(), size.height());
    resize(size.width(), size.height() + menu_bar_height(size.width()));
    update_menu();
}

void device_window::retranslate() {
    screen_menu_->setTitle(translated(u"&Screen"));
    help_->setText(translated(u"&Help"));
    zoom_note_->setText(translated(u"The zoom is set by QT_SCALE_FACTOR"));
    update_menu();
}

void device_window::fit_room() {
    // A remembered size the desktop cannot hold at this zoom shrinks to what
    // it can, so that the whole screen and the menu stay in reach.
    const QSize size = screen_->size();
    const desktop_room r = room();
    const int z = std::max(zoom_, 1);
    const int mb = menu_bar_height(size.width());
    if (fits_room(size, mb, r, z)) return;
    const QSize fitted = size.boundedTo(QSize((r.available.width() - r.frame.width()) / z,
                                              (r.available.height() - r.frame.height()) / z - mb))
                             .expandedTo(QSize(min_width, min_height));
    resize(fitted.width(), fitted.height() + menu_bar_height(fitted.width()));
}

int device_window::menu_bar_height(int width) const {
    const int h = menuBar()->heightForWidth(width);
    return h > 0 ? h : menuBar()->sizeHint().height();
}

desktop_room device_window::room() const {
    const int z = std::max(zoom_, 1);
    const QScreen* s = QWidget::screen();
    if (!s) s = QGuiApplication::primaryScreen();
    desktop_room r;
    // Logical pixels at this zoom, turned back into the desktop's own.
    r.available = s ? s->availableGeometry().size() * z : QSize(1 << 20, 1 << 20);
    const QSize measured = frameGeometry().size() - geometry().size();
    const bool known = isVisible() && (measured.width() > 0 || measured.height() > 0);
    r.frame = known ? measured * z : saved_frame();
    return r;
}

QAction* device_window::size_action(QSize size) const {
    for (const auto& [s, a] : size_actions_)
        if (s == size) return a;
    return nullptr;
}

QAction* device_window::zoom_action(int zoom) const {
    return zoom >= 1 && zoom <= max_zoom ? zoom_actions_[static_cast<std::size_t>(zoom - 1)]
                                         : nullptr;
}

void device_window::update_menu() {
    const desktop_room r = room();
    const int z = std::max(zoom_, 1);
    const QSize current = normal_screen_size();
    for (const auto& [s, a] : size_actions_) {
        const bool fits = fits_room(s, menu_bar_height(s.width()), r, z);
        QString shown = QStringLiteral("%1 x %2").arg(s.width()).arg(s.height());
        if (!fits)
            shown += QStringLiteral(" (%1)").arg(
                zoom_ > 1 ? translated(u"too large for this desktop at zoom %1x").arg(zoom_)
                          : translated(u"too large for this desktop"));
        a->setText(shown);
        a->setEnabled(fits);
        a->setChecked(s == current);
    }
    const int mb = menu_bar_height(current.width());
    for (int zoom = 1; zoom <= max_zoom; ++zoom) {
        QAction* a = zoom_action(zoom);
        const bool fits = zoom == 1 || fits_room(current, mb, r, zoom);
        const QString name = translated(u"Zoom %1x").arg(zoom);
        a->setText(
            fits ? name
                 : QStringLiteral("%1 (%2)").arg(name, translated(u"too large for this desktop")));
        a->setEnabled(zoom_ != 0 && fits);
        a->setChecked(zoom == zoom_);
    }
}

void device_window::choose_size(QSize size) {
    host_settings().setValue("screen_width", size.width());
    host_settings().setValue("screen_height", size.height());
    if (isMaximized() || isFullScreen()) {
        // The window manager gives the normal size back later; the chosen
        // size follows then.
        pending_size_ = size;
        showNormal();
    }
    resize(size.width(), size.height() + menu_bar_height(size.width()));
    update_menu();
    // A window grown downwards may now reach past the desktop's edge.
    QTimer::singleShot(settle_ms, this, &device_window::keep_on_desktop);
}

void device_window::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange || isMaximized() || isFullScreen()) return;
    if (pending_size_.isValid()) {
        const QSize s = pending_size_;
        pending_size_ = QSize();
        resize(s.width(), s.height() + menu_bar_height(s.width()));
    }
}

void device_window::choose_zoom(int zoom) {
    if (zoom == zoom_ || zoom < 1 || zoom > max_zoom) return;
    host_settings().setValue("zoom", zoom);
    // The zoom applies to the whole program from its start: end this run
    // the normal way (everything is written) and start again.
    restart_ = true;
    screen_->dismiss_all();
}

QSize device_window::normal_screen_size() const {
    if (!isMaximized() && !isFullScreen()) return screen_->size();
    // A maximised window is not a size to come back to: keep the one it
    // had before.
    const QRect normal = normalGeometry();
    if (!normal.isValid()) return saved_screen_size();
    return QSize(normal.width(), normal.height() - menu_bar_height(normal.width()))
        .expandedTo(QSize(min_width, min_height));
}

void device_window::remember_size() {
    const QSize s = normal_screen_size();
    auto settings = host_settings();
    settings.setValue("screen_width", s.width());
    settings.setValue("screen_height", s.height());
}

void device_window::remember_frame() {
    const QSize measured = frameGeometry().size() - geometry().size();
    if (!isVisible() || (measured.width() <= 0 && measured.height() <= 0)) return;
    const QSize f = measured * std::max(zoom_, 1);
    auto settings = host_settings();
    settings.setValue("frame_width", f.width());
    settings.setValue("frame_height", f.height());
}

void device_window::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!fitted_) {
        fitted_ = true;
        fit_room();
    }
    // The window manager adds its frame after the window appears.
    QTimer::singleShot(settle_ms, this, &device_window::keep_on_desktop);
}

void device_window::keep_on_desktop() {
    remember_frame();
    if (isMaximized() || isFullScreen()) return;
    const QScreen* s = QWidget::screen();
    if (!s) return;
    const QRect avail = s->availableGeometry();
    QRect frame = frameGeometry();
    if (avail.contains(frame)) return;
    // Too large (the frame was larger than guessed): the window shrinks and
    // the device screen follows, rather than leaving the menu out of reach.
    const QSize extra = frame.size() - size();
    const QSize largest = avail.size() - extra;
    if (width() > largest.width() || height() > largest.height()) {
        resize(size().boundedTo(largest));
        frame.setSize(size() + extra);
    }
    // Where it cannot lie wholly inside, its top left corner (title bar and
    // menu) stays in reach.
    const int x = std::max(avail.left(), std::min(frame.x(), avail.right() + 1 - frame.width()));
    const int y = std::max(avail.top(), std::min(frame.y(), avail.bottom() + 1 - frame.height()));
    move(x, y);
}

void device_window::closeEvent(QCloseEvent* e) {
    remember_size();
    remember_frame();
    // Closing the window ends the program as "Exit" does. The window stays
    // until the data is written, so that a message about a failed write can
    // still be seen and answered; the program closes it when it ends.
    screen_->dismiss_all();
    e->ignore();
}

}  // namespace kelvane
