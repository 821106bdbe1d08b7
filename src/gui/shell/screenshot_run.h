#pragma once
// kelvane --screenshot FILE: one picture of the device screen (whatever is on
// top: the main screen, or a message above it), then the end of the program.
// From the picture on, every dialog on the screen is dismissed, and so is
// each one that opens afterwards (a second message about a damaged file, a
// failed write at the end), so that the run always ends by itself.

#include <QObject>
#include <QString>
#include <QTimer>

namespace kelvane {

class device_screen;

class screenshot_run : public QObject {
    Q_OBJECT
public:
    static constexpr int default_delay_ms = 1200;

    // Takes the picture delay_ms after the event loop is first entered.
    screenshot_run(device_screen& screen, QString file, int delay_ms = default_delay_ms);

    // Why a picture cannot be written to the file, found before anything
    // runs (a missing folder, an unknown picture format); empty when nothing
    // speaks against it.
    static QString check_target(const QString& file);

    bool taken() const { return taken_; }
    // Empty once the picture is written; otherwise what went wrong, naming
    // the file.
    QString failure() const;

private:
    void take();

    device_screen& screen_;
    QString file_;
    QTimer shot_;
    QTimer ender_;
    bool taken_ = false;
    QString failure_;
};

}  // namespace kelvane
