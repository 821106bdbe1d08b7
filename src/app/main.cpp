// The device program on the desktop: one window that is the handheld's screen.
//
//   kelvane [--screenshot FILE] [--help] [--version]
//
// --screenshot saves a picture of the screen once the program has started and
// then ends the program (for reviewing the screens).

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QScreen>
#include <cstdio>
#include <memory>
#include <vector>

#include "gui/shell/application.h"
#include "gui/shell/command_line.h"
#include "gui/shell/device_window.h"
#include "gui/shell/first_start.h"
#include "gui/shell/program.h"
#include "gui/shell/program_handover.h"
#include "gui/shell/screens.h"
#include "gui/shell/screenshot_run.h"
#include "gui/widgets/owner_messages.h"
#include "platform/host_file_system.h"
#include "platform/qt/desktop_shell.h"
#include "platform/qt/device_message_box.h"
#include "platform/qt/system_colours.h"
#include "platform/services.h"
#include "platform/text_encoding.h"

namespace {

using namespace kelvane;

constexpr int exit_failed = 1;
constexpr int exit_usage = 2;

int usage_error(const QString& why) {
    std::fprintf(stderr, "kelvane: %s\nTry 'kelvane --help' for more information.\n",
                 qPrintable(why));
    return exit_usage;
}

// The room of the desktop the window will open on. The zoom has to be known
// before the toolkit starts, so a short-lived one looks at the desktop first.
desktop_room probe_desktop(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    args.push_back(nullptr);
    int count = argc;
    QGuiApplication probe(count, args.data());
    const QScreen* s = QGuiApplication::primaryScreen();
    return {s ? s->availableGeometry().size() : QSize(1 << 20, 1 << 20),
            device_window::saved_frame()};
}

}  // namespace

int main(int argc, char** argv) {
    // --help and --version need no display, so they are answered before the
    // toolkit starts; options it does not know yet may be the toolkit's own.
    QStringList raw;
    for (int i = 1; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
    const launch_options early = read_command_line(raw, true);
    switch (early.what) {
        case launch_options::action::help:
            std::fputs(qPrintable(usage_text()), stdout);
            return 0;
        case launch_options::action::version:
            std::fputs(qPrintable(version_text()), stdout);
            return 0;
        case launch_options::action::error:
            return usage_error(early.error);
        case launch_options::action::run:
            break;
    }

    // The zoom scales the whole device screen; it has to be set before the
    // toolkit starts. A scale factor the user set himself wins over it.
    const bool zoom_is_ours = qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR");
    int zoom = zoom_is_ours ? 1 : 0;
    if (zoom_is_ours && device_window::saved_zoom() > 1) {
        zoom = device_window::start_zoom(probe_desktop(argc, argv));
        if (zoom > 1) qputenv("QT_SCALE_FACTOR", QByteArray::number(zoom));
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane"));
    // The program ends when the main screen has closed and the data is written.
    QApplication::setQuitOnLastWindowClosed(false);

    const launch_options options = read_command_line(QApplication::arguments().mid(1), false);
    if (options.what == launch_options::action::error) return usage_error(options.error);
    if (!options.screenshot.isEmpty()) {
        const QString problem = screenshot_run::check_target(options.screenshot);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "kelvane: %s\n", qPrintable(problem));
            return exit_failed;
        }
    }

    desktop_shell shell;
    device_message_box_service boxes;
    host_device_info facts;
    // The shared drawing colours are read once, at start.
    facts.set_system_colours(colours_from_palette(QApplication::palette()));
    scoped_services host({nullptr, nullptr, &facts, &boxes, &shell});

    // One program writes a data folder at a time: a second start on the same
    // data brings the first to the front and ends before showing anything.
    auto prog = std::make_unique<program>();
    program_handover handover;
    const program_handover::start claimed = handover.claim(*prog);
    if (claimed == program_handover::start::handed_over) {
        std::fprintf(
            stderr, "kelvane: Kelvane is open on this data already; it was brought to the front\n");
        return 0;
    }

    device_window window(zoom);
    window.show();
    if (claimed == program_handover::start::in_use) {
        // Something that answers no start (kelvane-tool's backup) writes the
        // folder: the owner is told in his language and the program ends.
        (void)prog->data.load_language();
        const std::string folder =
            host_file_system(default_device_root()).host_path(prog->data.data_folder()).string();
        std::fprintf(stderr, "kelvane: %s (%s)\n", to_utf8(msg_data_in_use).c_str(),
                     folder.c_str());
        (void)show_message_about(msg_data_in_use, from_utf8(folder));
        return exit_failed;
    }
    QObject::connect(&handover, &program_handover::asked, &window, [&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.raise();
        window.activateWindow();
    });
    install_bundled_files();

    std::unique_ptr<screenshot_run> shot;
    if (!options.screenshot.isEmpty())
        shot = std::make_unique<screenshot_run>(window.screen(), options.screenshot);
    prog->margins = device_window::saved_service_margins();
    install_screens(*prog);
    application().run(*prog);
    // The hold goes with the program, before a restart below starts the next one.
    prog.reset();

    if (shot && !shot->failure().isEmpty()) {
        std::fprintf(stderr, "kelvane: %s\n", qPrintable(shot->failure()));
        return exit_failed;
    }
    if (window.restart_requested()) {
        // The new run picks the new zoom up from the settings.
        if (zoom_is_ours) qunsetenv("QT_SCALE_FACTOR");
        QProcess::startDetached(QApplication::applicationFilePath(), {});
    }
    return 0;
}
