#include "platform/qt/device_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>

#include "platform/qt/device_screen.h"
#include "platform/qt/modal_service.h"
#include "platform/services.h"

namespace kelvane {

device_dialog::device_dialog(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_StyledBackground, false);
    setFocusPolicy(Qt::StrongFocus);
    setWindowTitle(QString::fromStdU16String(caption_));
}

device_dialog::~device_dialog() {
    for (auto& [id, t] : timers_) t->stop();
    if (auto* s = device_screen::current()) s->detach(this);
}

void device_dialog::set_caption(std::u16string c) {
    caption_ = std::move(c);
    setWindowTitle(QString::fromStdU16String(caption_));
}

int device_dialog::exec() {
    return modal_runs().run(*this);
}

void device_dialog::end_dialog(int code) {
    result_ = code;
    if (ended_) return;
    ended_ = true;
    for (auto& [id, t] : timers_) t->stop();
    emit dialog_ended();
}

soft_menu_bar* device_dialog::menu_bar() {
    if (!menu_) {
        menu_ = new soft_menu_bar(this);
        connect(menu_, &soft_menu_bar::command_chosen, this, [this](int c) { on_command(c); });
        place_menu_bar();
        menu_->show();
    }
    return menu_;
}

void device_dialog::set_menu(std::vector<soft_menu_item> items) {
    menu_bar()->set_items(std::move(items));
}

bool device_dialog::choose(int command) {
    return menu_ && menu_->trigger(command);
}

int device_dialog::menu_bar_height() const {
    return soft_menu_bar::height_on(device().screen_width(), device().screen_height());
}

QRect device_dialog::client_rect() const {
    const int bar = menu_ ? menu_bar_height() : 0;
    return QRect(0, 0, width(), std::max(0, height() - bar));
}

void device_dialog::start_timer(int id, int milliseconds) {
    QTimer*& t = timers_[id];
    if (!t) {
        t = new QTimer(this);
        t->setSingleShot(true);
        connect(t, &QTimer::timeout, this, [this, id] { on_timer(id); });
    }
    t->start(milliseconds);
}

void device_dialog::stop_timer(int id) {
    auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

bool device_dialog::timer_pending(int id) const {
    auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

void device_dialog::fire_pending_timers() {
    // A handler may start another timer; a few rounds settle every chain the
    // program uses without risking an endless loop.
    for (int round = 0; round < 8; ++round) {
        std::vector<int> due;
        for (auto& [id, t] : timers_)
            if (t->isActive()) due.push_back(id);
        if (due.empty()) return;
        for (int id : due) {
            if (ended_) return;
            if (!timer_pending(id)) continue;
            timers_[id]->stop();
            on_timer(id);
        }
    }
}

void device_dialog::begin_modal() {
    running_ = true;
    ended_ = false;
    previous_focus_ = QApplication::focusWidget();
    if (auto* s = device_screen::current())
        s->attach(this);
    else if (!parentWidget())
        resize(device_screen::default_width, device_screen::default_height);
    if (!initialised_) {
        initialised_ = true;
        init_dialog();
    }
    if (ended_) return;
    show();
    raise();
    if (!focusWidget() || !isAncestorOf(focusWidget())) setFocus();
}

void device_dialog::end_modal() {
    running_ = false;
    hide();
    QPointer<QWidget> back = previous_focus_;
    device_dialog* below = nullptr;
    if (auto* s = device_screen::current()) {
        s->detach(this);
        below = s->top();
    }
    if (below && below != this)
        below->take_focus_back(back);
    else if (back && back->isVisible())
        back->setFocus();
}

void device_dialog::take_focus_back(QWidget* previous) {
    if (previous && previous->isVisible())
        previous->setFocus();
    else
        setFocus();
}

void device_dialog::place_menu_bar() {
    if (!menu_) return;
    // The bar grows with the screen by the same rule as the text.
    const int bar = menu_bar_height();
    menu_->fit_screen(device().screen_width(), device().screen_height());
    menu_->setGeometry(0, height() - bar, width(), bar);
}

void device_dialog::resizeEvent(QResizeEvent*) {
    place_menu_bar();
    const QRect c = client_rect();
    on_size(c.width(), c.height());
}

void device_dialog::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && running_ && !ended_) {
        // A dialog that must finish its work first (the loading) is not
        // ended by a key from outside either.
        if (cancel_command_)
            on_command(cancel_command_);
        else if (dismissable())
            end_dialog(dismissed);
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void device_dialog::paintEvent(QPaintEvent*) {
    if (overlay_) return;
    QPainter p(this);
    p.fillRect(client_rect(), Qt::white);
}

}  // namespace kelvane
