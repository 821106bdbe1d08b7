#include "platform/qt/desktop_shell.h"

#include <QDesktopServices>
#include <QString>

#include "platform/host_file_system.h"
#include "platform/services.h"

namespace kelvane {

desktop_shell::desktop_shell()
    : open_([](const QUrl& u) { return QDesktopServices::openUrl(u); }) {}

bool desktop_shell::run_program(std::u16string_view program, std::u16string_view argument) {
    recording_shell::run_program(program, argument);
    const QString name = QString::fromUtf16(program.data(), static_cast<qsizetype>(program.size()));
    if (name.compare("peghelp.exe", Qt::CaseInsensitive) != 0) return false;
    QString arg = QString::fromUtf16(argument.data(), static_cast<qsizetype>(argument.size()));
    if (!arg.startsWith("file:")) return false;
    arg = arg.mid(5);
    QString anchor;
    if (const int hash = arg.indexOf('#'); hash >= 0) {
        anchor = arg.mid(hash + 1);
        arg = arg.left(hash);
    }
    // The viewer looks the document up in the program's folder, where the
    // first start installed it. Only a plain file name is accepted.
    if (arg.isEmpty() || arg.contains('\\') || arg.contains('/')) return false;
    auto* host = dynamic_cast<host_file_system*>(&device_files());
    const std::u16string device_path = program_folder() + arg.toStdU16String();
    if (!host || !host->file_exists(device_path)) return false;
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(host->host_path(device_path).string()));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    return open_(url);
}

}  // namespace kelvane
