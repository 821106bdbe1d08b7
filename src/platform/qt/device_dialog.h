#pragma once
// A dialog of the device: it opens inside the device screen, above what is
// there, fills it (or, for a message box, covers it and shows a small box),
// carries its menu bar along the bottom edge and runs modally through the
// modal seam. One-shot timers finish a dialog's set-up after it is shown.

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/soft_menu_bar.h"

class QTimer;

namespace kelvane {

class device_dialog : public QWidget {
    Q_OBJECT
public:
    // The device's two ending codes.
    static constexpr int confirmed = 1;
    static constexpr int dismissed = 2;

    explicit device_dialog(QWidget* parent = nullptr);
    ~device_dialog() override;

    // Runs the dialog modally (through the seam) and returns its result code.
    int exec();
    // Ends a modal run with a result code (the run returns it).
    void end_dialog(int code);
    bool ended() const { return ended_; }
    // Whether closing the window may end this dialog from outside, as if
    // dismissed; a dialog that must finish its work first ends itself.
    virtual bool dismissable() const { return true; }
    bool running() const { return running_; }
    int result() const { return result_; }

    // The command Escape carries out, as the dialog's own Cancel does; with
    // none, Escape ends the dialog dismissed when it is dismissable.
    void set_cancel_command(int command) { cancel_command_ = command; }

    const std::u16string& caption() const { return caption_; }
    void set_caption(std::u16string c);

    // The menu bar along the bottom edge; created on first use.
    soft_menu_bar* menu_bar();
    bool has_menu_bar() const { return menu_ != nullptr; }
    void set_menu(std::vector<soft_menu_item> items);
    // Runs a command as if chosen from the menu; false when not offered or disabled.
    bool choose(int command);

    // The dialog's working area: everything above the menu bar.
    QRect client_rect() const;
    // The menu bar's height on the current screen.
    int menu_bar_height() const;

    // One-shot timers by identifier; the handler is on_timer.
    void start_timer(int id, int milliseconds);
    void stop_timer(int id);
    bool timer_pending(int id) const;
    // Fires every pending timer at once (tests, through the scripted seam).
    void fire_pending_timers();

    // Used by the modal seam.
    void begin_modal();
    void end_modal();

signals:
    void dialog_ended();

protected:
    // Runs once before the dialog is first shown.
    virtual void init_dialog() {}
    // A menu command or a command sent by a child.
    virtual void on_command(int command) { (void)command; }
    virtual void on_timer(int id) { (void)id; }
    // The dialog's working area changed size.
    virtual void on_size(int width, int height) {
        (void)width;
        (void)height;
    }
    // A dialog that was above this one has closed; `previous` had the focus
    // when it opened. By default the focus goes back there.
    virtual void take_focus_back(QWidget* previous);
    // A message box covers the screen but draws only its box.
    void set_overlay(bool overlay) { overlay_ = overlay; }

    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void place_menu_bar();

    std::u16string caption_ = u"Kelvane";
    soft_menu_bar* menu_ = nullptr;
    std::map<int, QTimer*> timers_;
    bool initialised_ = false;
    bool ended_ = false;
    bool running_ = false;
    bool overlay_ = false;
    int result_ = 0;
    int cancel_command_ = 0;
    QWidget* previous_focus_ = nullptr;
};

}  // namespace kelvane
