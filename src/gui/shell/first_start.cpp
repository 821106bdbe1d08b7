#include "gui/shell/first_start.h"

#include <QDir>
#include <QFile>
#include <string>

#include "core/accounts/configuration.h"
#include "core/common/folders.h"
#include "platform/file_system.h"
#include "platform/services.h"

namespace kelvane {

bool install_bundled_files() {
    return install_bundled_files_from(QStringLiteral(":/kelvane"));
}

bool install_bundled_files_from(const QString& source) {
    auto& fs = device_files();
    const std::u16string folder = program_folder();
    // The program's folder is also the data folder: make sure it is there
    // before anything is written into it.
    (void)make_folder_path(folder);
    // The language files are offered by the options screen from the
    // program's folder, so they must lie there like the help document.
    QStringList names{QStringLiteral("Kelvane.htm")};
    names += QDir(source).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    bool ok = true;
    for (const QString& name : names) {
        const std::u16string target = folder + name.toStdU16String();
        if (fs.file_exists(target)) continue;
        QFile bundled(source + u'/' + name);
        if (!bundled.open(QIODevice::ReadOnly)) {
            ok = false;
            continue;
        }
        const QByteArray bytes = bundled.readAll();
        ok = write_file_atomically(fs, target, bytes.constData(),
                                   static_cast<std::size_t>(bytes.size())) &&
             ok;
    }
    return ok;
}

}  // namespace kelvane
