#pragma once
// The small start-up window: the program's icon and name and a row of dots,
// one more before each loading step. The steps run 100 ms after it is shown;
// each dot is painted at once, since the loading blocks the event loop.

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/device_dialog.h"

namespace kelvane {

class splash_screen : public device_dialog {
    Q_OBJECT
public:
    static constexpr int box_width = 200;
    static constexpr int box_height = 140;

    explicit splash_screen(std::vector<std::function<void()>> steps, QWidget* parent = nullptr);

    const std::u16string& progress() const { return progress_; }
    // The box as it is painted now (box coordinates).
    QImage render_box() const;
    QRect box_rect() const;
    // It ends itself once the steps have run. Ended sooner (the window closed
    // at once), the program would go on without its files loaded and write
    // empty ones over them at the end.
    bool dismissable() const override { return false; }

protected:
    void init_dialog() override;
    void on_timer(int id) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void add_dot();

    std::vector<std::function<void()>> steps_;
    std::u16string progress_;
};

}  // namespace kelvane
