#pragma once
// The program's desktop window: the device screen under a small menu of the
// host's own for the screen size and the zoom. Size and zoom are remembered
// by the host between runs, apart from the device's files.

#include <QMainWindow>
#include <QSize>
#include <vector>

#include "core/accounts/account_figures.h"
#include "platform/qt/device_screen.h"

class QAction;
class QMenu;

namespace kelvane {

// The room a desktop gives a window, in the desktop's own pixels (the ones
// the zoom multiplies into): its free area, without panels and docks, and
// what the window manager adds around a window (title bar, borders).
struct desktop_room {
    QSize available;
    QSize frame;
};

// Whether a window holding a device screen of this size under a menu bar of
// this height (both before the zoom) fits the room at the zoom.
bool fits_room(QSize screen, int menu_bar_height, const desktop_room& room, int zoom);
// The largest zoom from 1 to `wanted` at which such a window fits; 1 when
// even that does not fit.
int fitting_zoom(QSize screen, int menu_bar_height, const desktop_room& room, int wanted);

class device_window : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int max_zoom = 3;
    static constexpr int min_width = 176;
    static constexpr int min_height = 176;
    // The screen sizes of the handheld models, as the Screen menu offers them.
    static const std::vector<QSize>& screen_sizes();

    // zoom: the zoom this run shows, 1 to 3; 0 when the scale factor is the
    // user's own (QT_SCALE_FACTOR) and the zoom is not ours to change.
    explicit device_window(int zoom = 1, QWidget* parent = nullptr);

    device_screen& screen() { return *screen_; }
    int zoom() const { return zoom_; }

    // What the host remembers between runs.
    static int saved_zoom();
    static QSize saved_screen_size();
    // The margins of the services due: "service_due_margin_km" and
    // "service_due_margin_miles" in the settings, 500 and 300 when absent
    // or not a mileage.
    static service_margins saved_service_margins();
    // The frame the window manager added last time (desktop pixels), or a
    // guess before the first run.
    static QSize saved_frame();
    // The zoom to start a run with on a desktop of this room: the chosen one,
    // lowered until the window fits.
    static int start_zoom(const desktop_room& room);

    // The Screen menu's commands.
    void choose_size(QSize size);
    void choose_zoom(int zoom);
    bool restart_requested() const { return restart_; }

    // Brings the menu's checks, texts and what can be chosen up to date with
    // the screen size, the zoom and the desktop; runs when the menu opens.
    void update_menu();
    QAction* size_action(QSize size) const;
    QAction* zoom_action(int zoom) const;

    // The menu bar's height for a window of this width.
    int menu_bar_height(int width) const;

    // Writes the menus in the program's language (once its table is loaded).
    void retranslate();
    // Ctrl+Q: closes the window, which ends the program as "Exit" does.
    QAction* quit_action() const { return quit_; }

protected:
    // The room of the desktop the window is on.
    virtual desktop_room room() const;

    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void fit_room();
    void keep_on_desktop();
    void remember_size();
    void remember_frame();
    QSize normal_screen_size() const;

    device_screen* screen_;
    QMenu* screen_menu_ = nullptr;
    std::vector<std::pair<QSize, QAction*>> size_actions_;
    std::vector<QAction*> zoom_actions_;
    QAction* zoom_note_ = nullptr;
    QAction* help_ = nullptr;
    QAction* quit_ = nullptr;
    int zoom_;
    bool restart_ = false;
    bool fitted_ = false;
    // A size chosen while the window was maximised, applied once it is not.
    QSize pending_size_;
};

}  // namespace kelvane
