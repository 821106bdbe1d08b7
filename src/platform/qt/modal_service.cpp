#include "platform/qt/modal_service.h"

#include <QEventLoop>
#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <algorithm>

#include "platform/message_box.h"
#include "platform/qt/device_dialog.h"
#include "platform/qt/device_screen.h"
#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// The smallest text a pop-up menu is written in to fit the screen.
constexpr int min_menu_text = 9;

}  // namespace

modal_service& modal_runs() {
    static event_loop_modal loops;
    modal_service* installed = services().modals;
    return installed ? *installed : loops;
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

int popup_menu_above(QWidget* button, const std::vector<soft_menu_item>& items,
                     bool right_aligned) {
    return modal_runs().popup(
        items, popup_place::on_key(QRect(button->mapToGlobal(QPoint(0, 0)), button->size()),
                                   right_aligned));
}

popup_place popup_place::on_key(const QRect& key, bool right_aligned) {
    popup_place place(key.topLeft());
    place.key = key;
    place.right_aligned = right_aligned;
    return place;
}

QPoint popup_position(QSize menu, const popup_place& place, const QRect& screen) {
    QPoint p = place.at;
    if (!place.key.isEmpty())
        p = {place.right_aligned ? place.key.left() + place.key.width() - menu.width()
                                 : place.key.left(),
             place.key.top() - menu.height()};
    if (!screen.isValid()) return p;
    // A menu larger than the screen keeps its top-left corner on the screen.
    const int right = std::max(screen.left(), screen.left() + screen.width() - menu.width());
    const int bottom = std::max(screen.top(), screen.top() + screen.height() - menu.height());
    return {std::clamp(p.x(), screen.left(), right), std::clamp(p.y(), screen.top(), bottom)};
}

int event_loop_modal::popup(const std::vector<soft_menu_item>& items, const popup_place& place) {
    device_screen* screen = device_screen::current();
    device_dialog* owner = screen ? screen->top() : nullptr;
    // A dialog that has ended offers nothing more.
    if (owner && owner->ended()) return 0;

    QMenu menu;
    QFont font = menu.font();
    font.setPixelSize(
        scaled_length(soft_menu_bar::text_size, device().screen_width(), device().screen_height()) +
        1);
    menu.setFont(font);
    for (const auto& item : items) {
        if (item.separator) {
            menu.addSeparator();
            continue;
        }
        QAction* a = menu.addAction(QString::fromStdU16String(item.text));
        a->setData(item.command);
        a->setEnabled(item.enabled);
    }
    const QRect room = screen ? QRect(screen->mapToGlobal(QPoint(0, 0)), screen->size()) : QRect();
    // Large text measures a little narrower than it draws; the room keeps the
    // longest item from being cut short.
    menu.setMinimumWidth(menu.sizeHint().width() + font.pixelSize());
    QSize size = menu.sizeHint().expandedTo(menu.minimumSize());
    // A long menu (the Tools menu on a square screen) is written smaller
    // rather than reaching past the screen's edge with its last items.
    while (room.isValid() && font.pixelSize() > min_menu_text &&
           (size.height() > room.height() || size.width() > room.width())) {
        font.setPixelSize(font.pixelSize() - 1);
        menu.setFont(font);
        menu.setMinimumWidth(0);
        menu.setMinimumWidth(menu.sizeHint().width() + font.pixelSize());
        size = menu.sizeHint().expandedTo(menu.minimumSize());
    }

    // The menu's own event loop runs until it closes; it must not outlive
    // its dialog, or the program could not end while it stays open, and a
    // command chosen from it would run after the end.
    if (owner) QObject::connect(owner, &device_dialog::dialog_ended, &menu, &QMenu::close);
    QAction* chosen = menu.exec(popup_position(size, place, room));
    return chosen ? chosen->data().toInt() : 0;
}

int scripted_modal::popup(const std::vector<soft_menu_item>& items, const popup_place&) {
    popups_.push_back(items);
    if (choices_.empty()) return 0;
    const int command = choices_.front().what;
    choices_.pop_front();
    return command;
}

int scripted_modal::run(device_dialog& dialog) {
    opened_.push_back(dialog.metaObject()->className());
    dialog.begin_modal();
    dialog.fire_pending_timers();
    if (!dialog.ended() && !actions_.empty()) {
        action a = std::move(actions_.front().what);
        actions_.pop_front();
        a(dialog);
    }
    if (!dialog.ended()) dialog.end_dialog(device_dialog::dismissed);
    dialog.end_modal();
    return dialog.result();
}

std::vector<std::string> scripted_modal::unused() const {
    std::vector<std::string> out;
    for (const auto& a : actions_) out.push_back("dialog action (" + source_place(a.where) + ")");
    for (const auto& c : choices_)
        out.push_back("menu choice " + std::to_string(c.what) + " (" + source_place(c.where) + ")");
    return out;
}

}  // namespace kelvane
