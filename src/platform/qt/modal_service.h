#pragma once
// The modal seam: every modal run of a dialog (editors, pickers, message
// boxes, the main screen itself) goes through the installed service. The
// program runs real nested event loops; a test installs a scripted service
// that acts on each dialog as it opens and ends it, so whole flows run
// without a person and without waiting.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <deque>
#include <functional>
#include <source_location>
#include <string>
#include <vector>

#include "platform/qt/soft_menu_bar.h"

namespace kelvane {

class device_dialog;

// Where a pop-up menu opens, in desktop coordinates: with its top-left
// corner at a point (a tap and hold), or standing on a soft key of a menu
// bar, its bottom edge on the key's top and its left edge on the key's left
// (the last key: its right edge on the key's right). Either way the menu
// stays inside the device screen.
struct popup_place {
    popup_place(QPoint point) : at(point) {}
    static popup_place on_key(const QRect& key, bool right_aligned);

    QPoint at;
    QRect key;  // empty for a point
    bool right_aligned = false;
};

// The top-left corner of a menu of this size opened at the place, moved
// inside `screen` as far as the menu fits in it (an invalid screen moves
// nothing).
QPoint popup_position(QSize menu, const popup_place& place, const QRect& screen);

class modal_service {
public:
    virtual ~modal_service() = default;
    // Shows the dialog inside the device screen and returns once it has ended,
    // with its result code.
    virtual int run(device_dialog& dialog) = 0;
    // Shows a pop-up menu of commands (a menu bar's pop-up, tap and hold) and
    // returns the chosen command, or 0 when it was dismissed. The menu
    // belongs to the dialog on top of the device screen: when that dialog
    // ends while the menu is open (the window is closed), the menu closes
    // and chooses nothing.
    virtual int popup(const std::vector<soft_menu_item>& items, const popup_place& place) = 0;
};

// Shows a page's pop-up menu through the seam, at a point of the widget.
int popup_menu(QWidget* widget, const QPoint& at, const std::vector<soft_menu_item>& items);
// The same, standing on a button as a soft key's menu does: its bottom edge
// on the button's top, its right edge (or its left) on the button's.
int popup_menu_above(QWidget* button, const std::vector<soft_menu_item>& items,
                     bool right_aligned = true);

// The service in force: the one of services() (a test installs its own with
// scoped_services), else real nested event loops.
modal_service& modal_runs();

// Runs a nested event loop until the dialog ends.
class event_loop_modal : public modal_service {
public:
    int run(device_dialog& dialog) override;
    int popup(const std::vector<soft_menu_item>& items, const popup_place& place) override;
};

// For tests: each run shows the dialog, fires its pending one-shot timers at
// once, then hands it to the next queued action. A dialog still open after
// its action (or with no action queued) is dismissed, so a test never hangs.
class scripted_modal : public modal_service {
public:
    using action = std::function<void(device_dialog&)>;
    int run(device_dialog& dialog) override;
    // Records the menu and answers the next queued choice (0, dismissed, when none).
    int popup(const std::vector<soft_menu_item>& items, const popup_place& place) override;
    // Queues the action for the next dialog that opens.
    void then(action a, std::source_location where = std::source_location::current()) {
        actions_.push_back({std::move(a), where});
    }
    // Queues the command the next pop-up menu answers.
    void then_choose(int command, std::source_location where = std::source_location::current()) {
        choices_.push_back({command, where});
    }
    // The pop-up menus shown, in order: each one's command texts as offered.
    const std::vector<std::vector<soft_menu_item>>& popups() const { return popups_; }
    // Class names of the dialogs run, in order of opening.
    const std::vector<std::string>& opened() const { return opened_; }
    std::size_t pending() const { return actions_.size(); }
    // The dialog actions and menu choices still queued, each with the place
    // that queued it.
    std::vector<std::string> unused() const;

private:
    template <class T>
    struct queued {
        T what;
        std::source_location where;
    };
    std::deque<queued<action>> actions_;
    std::vector<std::string> opened_;
    std::deque<queued<int>> choices_;
    std::vector<std::vector<soft_menu_item>> popups_;
};

}  // namespace kelvane
