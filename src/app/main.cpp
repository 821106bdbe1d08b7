// The device program on the desktop: one window that is the handheld's screen.
//
//   kelvane [--screenshot FILE]
//
// --screenshot saves a picture of the screen once the main screen is up and
// then ends the program (for reviewing the screens).

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include "gui/shell/application.h"
#include "gui/shell/device_window.h"
#include "gui/shell/first_start.h"
#include "gui/shell/program.h"
#include "gui/shell/screens.h"
#include "platform/qt/desktop_shell.h"
#include "platform/qt/device_message_box.h"
#include "platform/qt/system_colours.h"
#include "platform/services.h"

int main(int argc, char** argv) {
    using namespace kelvane;
    // The zoom scales the whole device screen; it has to be set before Qt starts.
    // A scale factor the user set himself wins over the saved zoom.
    const bool zoom_is_ours = qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR");
    const int zoom = device_window::saved_zoom();
    if (zoom > 1 && zoom_is_ours) qputenv("QT_SCALE_FACTOR", QByteArray::number(zoom));
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kelvane");
    // The program ends when the main screen has closed and the data is written.
    QApplication::setQuitOnLastWindowClosed(false);

    QString screenshot;
    const QStringList args = QApplication::arguments();
    if (const int i = args.indexOf("--screenshot"); i >= 0 && i + 1 < args.size())
        screenshot = args[i + 1];

    desktop_shell shell;
    device_message_box_service boxes;
    host_device_info facts;
    // The shared drawing colours are read once, at start.
    facts.set_system_colours(colours_from_palette(QApplication::palette()));
    scoped_services host({nullptr, nullptr, &facts, &boxes, &shell});

    device_window window;
    window.show();
    install_bundled_files();

    int status = 0;
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(1200, &window, [&] {
            if (!window.screen().snapshot().save(screenshot)) status = 1;
            window.screen().dismiss_all();
        });
    }
    {
        program prog;
        install_screens(prog);
        application().run(prog);
    }

    if (window.restart_requested()) {
        // The new run picks the new zoom up from the settings.
        if (zoom_is_ours) qunsetenv("QT_SCALE_FACTOR");
        QProcess::startDetached(QApplication::applicationFilePath(), {});
    }
    return status;
}
