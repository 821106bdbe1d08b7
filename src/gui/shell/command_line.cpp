#include "gui/shell/command_line.h"

namespace kelvane {

namespace {

launch_options failed(QString why) {
    launch_options o;
    o.what = launch_options::action::error;
    o.error = std::move(why);
    return o;
}

}  // namespace

launch_options read_command_line(const QStringList& arguments, bool allow_unknown) {
    launch_options o;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg == u"--help" || arg == u"-h") {
            o.what = launch_options::action::help;
            return o;
        }
        if (arg == u"--version") {
            o.what = launch_options::action::version;
            return o;
        }
        if (arg == u"--screenshot" || arg.startsWith(u"--screenshot=")) {
            QString file;
            if (arg.startsWith(u"--screenshot="))
                file = arg.mid(static_cast<qsizetype>(sizeof "--screenshot=") - 1);
            else if (i + 1 < arguments.size() && !arguments[i + 1].startsWith(u"--"))
                file = arguments[++i];
            if (file.isEmpty())
                return failed(
                    QStringLiteral("--screenshot needs the file to write the picture to"));
            if (!o.screenshot.isEmpty())
                return failed(QStringLiteral("--screenshot is given twice"));
            o.screenshot = file;
            continue;
        }
        if (allow_unknown) continue;
        if (arg.startsWith(u'-')) return failed(QStringLiteral("unknown option '%1'").arg(arg));
        return failed(QStringLiteral("unexpected argument '%1'").arg(arg));
    }
    return o;
}

QString usage_text() {
    return QStringLiteral(
        "Usage: kelvane [OPTION]...\n"
        "Kelvane keeps the running costs of your vehicles. It runs in one window that\n"
        "is the screen of the handheld it was made for.\n"
        "\n"
        "  --screenshot FILE  once the program has started, save a picture of its\n"
        "                     screen (PNG, JPEG or BMP, by the file's ending) and end\n"
        "  --help             show this help and end\n"
        "  --version          show the version and end\n"
        "\n"
        "The window's Screen menu sets the screen size (240 x 320, 240 x 240,\n"
        "320 x 240, 480 x 640) and the zoom (1x to 3x); the window can also be\n"
        "resized freely. The data lives in $KELVANE_DEVICE_ROOT when it is set, else\n"
        "in ~/.local/share/kelvane/device.\n"
        "\n"
        "Exit status: 0 when all went well, 1 when the screenshot could not be\n"
        "written, 2 when the command line is wrong.\n");
}

QString version_text() {
    return QStringLiteral("Kelvane %1\n").arg(QStringLiteral(KELVANE_VERSION));
}

}  // namespace kelvane
