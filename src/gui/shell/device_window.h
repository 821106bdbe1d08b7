#pragma once
// The program's desktop window: the device screen, with a small menu of the
// host's own for the screen size and the zoom. Size and zoom are remembered
// by the host between runs, apart from the device's files.

#include <QMainWindow>

#include "platform/qt/device_screen.h"

namespace kelvane {

class device_window : public QMainWindow {
    Q_OBJECT
public:
    explicit device_window(QWidget* parent = nullptr);

    device_screen& screen() { return *screen_; }

    // The zoom chosen for the next start (1, 2 or 3); it takes effect when the
    // program starts, so changing it restarts the program.
    static int saved_zoom();
    bool restart_requested() const { return restart_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void choose_size(int width, int height);
    void choose_zoom(int zoom);
    void fit_window();
    void remember_size();

    static constexpr int min_width = 176;
    static constexpr int min_height = 176;

    device_screen* screen_;
    bool restart_ = false;
};

}  // namespace kelvane
