#include "setup/qt/desktop_setup_platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QString>

#include "platform/device_info.h"
#include "platform/text_encoding.h"
#include "setup/key_store.h"

namespace kelvane {

namespace {

QString qstr(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

std::u16string with_separator(std::u16string folder) {
    if (folder.empty() || folder.back() != u'/') folder += u'/';
    return folder;
}

}  // namespace

desktop_setup_platform::desktop_setup_platform(message_box_service& boxes,
                                               std::filesystem::path key_store_file)
    : boxes_(boxes),
      key_store_file_(key_store_file.empty() ? default_key_store_file()
                                             : std::move(key_store_file)) {}

std::u16string desktop_setup_platform::own_file() {
    if (!own_file_.empty()) return from_utf8(own_file_.string());
    return QCoreApplication::applicationFilePath().toStdU16String();
}

std::u16string desktop_setup_platform::temp_folder() {
    if (!temp_folder_.empty()) return with_separator(from_utf8(temp_folder_.string()));
    return with_separator(QDir::tempPath().toStdU16String());
}

std::u16string desktop_setup_platform::install_folder() {
    // The manager installs below the device root, in the program's folder.
    const host_file_system device(default_device_root());
    return from_utf8(device.host_path(parent_folder(program_file_path)).string());
}

std::optional<std::u16string> desktop_setup_platform::manager_path() {
    const auto value = key_store(key_store_file_).read(application_manager_key, default_value_name);
    if (!value) return std::nullopt;
    return from_utf8(*value);
}

bool desktop_setup_platform::program_running() {
    // The running program holds its folder below the device root.
    host_file_system device(default_device_root());
    return device.lock_folder(parent_folder(program_file_path)).state == lock_state::held_elsewhere;
}

bool desktop_setup_platform::start_program(std::u16string_view program,
                                           std::u16string_view parameter) {
    return QProcess::startDetached(qstr(program), {qstr(parameter)});
}

}  // namespace kelvane
