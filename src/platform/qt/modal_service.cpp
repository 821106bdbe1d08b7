#include "platform/qt/modal_service.h"

#include <QEventLoop>
#include <QPointer>

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
