#pragma once
// The modal seam: every modal run of a dialog (editors, pickers, message
// boxes, the main screen itself) goes through the installed service. The
// program runs real nested event loops; a test installs a scripted service
// that acts on each dialog as it opens and ends it, so whole flows run
// without a person and without waiting.

#include <QPoint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/soft_menu_bar.h"

namespace kelvane {

class device_dialog;

class modal_service {
public:
    virtual ~modal_service() = default;
    // Shows the dialog inside the device screen and returns once it has ended,
    // with its result code.
    virtual int run(device_dialog& dialog) = 0;
    // Shows a pop-up menu of commands (tap and hold) at a point of the desktop
    // and returns the chosen command, or 0 when it was dismissed.
    virtual int popup(const std::vector<soft_menu_item>& items, const QPoint& at) = 0;
};

// Shows a page's pop-up menu through the seam, at a point of the widget.
int popup_menu(QWidget* widget, const QPoint& at, const std::vector<soft_menu_item>& items);

// The service in force (the event-loop one unless a test installed another).
modal_service& modal_runs();

// Installs a service for its own lifetime and puts the previous one back.
class scoped_modal_service {
public:
    explicit scoped_modal_service(modal_service& s);
    ~scoped_modal_service();
    scoped_modal_service(const scoped_modal_service&) = delete;
    scoped_modal_service& operator=(const scoped_modal_service&) = delete;

private:
    modal_service* previous_;
};

// Runs a nested event loop until the dialog ends.
class event_loop_modal : public modal_service {
public:
    int run(device_dialog& dialog) override;
    int popup(const std::vector<soft_menu_item>& items, const QPoint& at) override;
};

// For tests: each run shows the dialog, fires its pending one-shot timers at
// once, then hands it to the next queued action. A dialog still open after
// its action (or with no action queued) is dismissed, so a test never hangs.
class scripted_modal : public modal_service {
public:
    using action = std::function<void(device_dialog&)>;
    int run(device_dialog& dialog) override;
    // Records the menu and answers the next queued choice (0, dismissed, when none).
    int popup(const std::vector<soft_menu_item>& items, const QPoint& at) override;
    // Queues the action for the next dialog that opens.
    void then(action a) { actions_.push_back(std::move(a)); }
    // Queues the command the next pop-up menu answers.
    void then_choose(int command) { choices_.push_back(command); }
    // The pop-up menus shown, in order: each one's command texts as offered.
    const std::vector<std::vector<soft_menu_item>>& popups() const { return popups_; }
    // Class names of the dialogs run, in order of opening.
    const std::vector<std::string>& opened() const { return opened_; }
    std::size_t pending() const { return actions_.size(); }

private:
    std::deque<action> actions_;
    std::vector<std::string> opened_;
    std::deque<int> choices_;
    std::vector<std::vector<soft_menu_item>> popups_;
};

}  // namespace kelvane
