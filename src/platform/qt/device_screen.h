#pragma once
// The device's screen on the host: a widget of the screen's logical size in
// which the main screen, full-screen dialogs and message boxes lie one above
// the other, the newest on top. Its size is the screen size core sees.

#include <QImage>
#include <QWidget>
#include <vector>

namespace kelvane {

class device_dialog;

class device_screen : public QWidget {
    Q_OBJECT
public:
    static constexpr int default_width = 240;
    static constexpr int default_height = 320;

    explicit device_screen(QWidget* parent = nullptr);
    ~device_screen() override;

    // The screen dialogs open in; nullptr when none exists (plain widget tests).
    static device_screen* current();

    // Sets the logical screen size (and tells the device facts).
    void set_screen_size(int width, int height);

    void attach(device_dialog* d);
    void detach(device_dialog* d);
    // The dialogs on the screen, lowest first.
    const std::vector<device_dialog*>& layers() const { return layers_; }
    device_dialog* top() const { return layers_.empty() ? nullptr : layers_.back(); }
    // Ends every open dialog that may be dismissed, from the top down (the
    // window is being closed).
    void dismiss_all();

    // The screen as it looks now, at logical size.
    QImage snapshot();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    std::vector<device_dialog*> layers_;
    device_screen* previous_;
};

}  // namespace kelvane
