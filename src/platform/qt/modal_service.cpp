#include "platform/qt/modal_service.h"

#include <QEventLoop>
#include <QMenu>
#include <QPointer>
#include <QWidget>

#include "platform/qt/device_dialog.h"

namespace kelvane {

namespace {

modal_service*& installed() {
    static event_loop_modal loops;
    static modal_service* current = &loops;
    return current;
}

}  // namespace

modal_service& modal_runs() {
    return *installed();
}

scoped_modal_service::scoped_modal_service(modal_service& s) : previous_(installed()) {
    installed() = &s;
}

scoped_modal_service::~scoped_modal_service() {
    installed() = previous_;
}

int event_loop_modal::run(device_dialog& dialog) {
    dialog.begin_modal();
    if (!dialog.ended()) {
        QEventLoop loop;
        QObject::connect(&dialog, &device_dialog::dialog_ended, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::DialogExec);
    }
    dialog.end_modal();
    return dialog.result();
}

int popup_menu(QWidget* widget, const QPoint& at, const std::vector<soft_menu_item>& items) {
    return modal_runs().popup(items, widget ? widget->mapToGlobal(at) : at);
}

int event_loop_modal::popup(const std::vector<soft_menu_item>& items, const QPoint& at) {
    QMenu menu;
    for (const auto& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        menu.addAction(QString::fromStdU16String(item.text))->setData(item.command);
    }
    QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toInt() : 0;
}

int scripted_modal::popup(const std::vector<soft_menu_item>& items, const QPoint&) {
    popups_.push_back(items);
    if (choices_.empty()) return 0;
    const int command = choices_.front();
    choices_.pop_front();
    return command;
}

int scripted_modal::run(device_dialog& dialog) {
    opened_.push_back(dialog.metaObject()->className());
    dialog.begin_modal();
    dialog.fire_pending_timers();
    if (!dialog.ended() && !actions_.empty()) {
        action a = std::move(actions_.front());
        actions_.pop_front();
        a(dialog);
    }
    if (!dialog.ended()) dialog.end_dialog(device_dialog::dismissed);
    dialog.end_modal();
    return dialog.result();
}

}  // namespace kelvane
