#include "gui/shell/first_start.h"

#include <QDir>
#include <QFile>
#include <string>

#include "platform/file_system.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// Creates every folder of a device path that ends in '\'.
void make_folders(file_system& fs, const std::u16string& folder) {
    for (std::size_t pos = folder.find(u'\\', 1); pos != std::u16string::npos;
         pos = folder.find(u'\\', pos + 1)) {
        const std::u16string part = folder.substr(0, pos);
        if (!fs.folder_exists(part)) fs.create_folder(part);
    }
}

}  // namespace

bool install_bundled_files() {
    return install_bundled_files_from(QStringLiteral(":/kelvane"));
}

bool install_bundled_files_from(const QString& source) {
    auto& fs = device_files();
    const std::u16string folder = program_folder();
    // The program's folder is also the data folder: make sure it is there
    // before anything is written into it.
    make_folders(fs, folder);
    // The language files are offered by the options screen from the
    // program's folder, so they must lie there like the help document.
    QStringList names{QStringLiteral("Kelvane.htm")};
    names += QDir(source).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    bool ok = true;
    for (const QString& name : names) {
        const std::u16string target = folder + name.toStdU16String();
        if (fs.file_exists(target)) continue;
        QFile bundled(source + '/' + name);
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
