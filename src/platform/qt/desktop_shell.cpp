#include "platform/qt/desktop_shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QString>

#include "platform/host_file_system.h"
#include "platform/services.h"

namespace kelvane {

namespace {

QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

std::u16string cannot_open(const QString& file, const char* why) {
    return QStringLiteral("Could not open the help document\n%1\n%2")
        .arg(file, QString::fromUtf8(why))
        .toStdU16String();
}

}  // namespace

desktop_shell::desktop_shell()
    : open_([](const QUrl& u) { return QDesktopServices::openUrl(u); }) {}

bool desktop_shell::run_program(std::u16string_view program, std::u16string_view argument) {
    recording_shell::run_program(program, argument);
    failure.clear();
    const QString name = qs(program);
    if (name.compare(u"peghelp.exe", Qt::CaseInsensitive) != 0) {
        failure = QStringLiteral("There is no program \"%1\" on this computer.")
                      .arg(name)
                      .toStdU16String();
        return false;
    }
    QString arg = qs(argument);
    if (!arg.startsWith(u"file:")) {
        failure = cannot_open(arg, "The help viewer shows only documents named \"file:...\".");
        return false;
    }
    arg = arg.mid(5);
    QString anchor;
    if (const int hash = arg.indexOf(u'#'); hash >= 0) {
        anchor = arg.mid(hash + 1);
        arg = arg.left(hash);
    }
    // The viewer looks the document up in the program's folder, where the
    // first start installed it. Only a plain file name is accepted.
    if (arg.isEmpty() || arg.contains(u'\\') || arg.contains(u'/')) {
        failure = cannot_open(arg, "Only a document in the program's folder can be shown.");
        return false;
    }
    const std::u16string device_path = program_folder() + arg.toStdU16String();
    auto* host = dynamic_cast<host_file_system*>(&device_files());
    if (!host) {
        failure = cannot_open(qs(device_path), "It is not on this computer's disk.");
        return false;
    }
    const QString file =
        QDir::toNativeSeparators(QString::fromStdString(host->host_path(device_path).string()));
    if (!host->file_exists(device_path)) {
        failure = cannot_open(file, "The file is missing.");
        return false;
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty()) url.setFragment(anchor);
    if (!open_(url)) {
        failure = cannot_open(file, "No program to open it was found on this computer.");
        return false;
    }
    return true;
}

}  // namespace kelvane
