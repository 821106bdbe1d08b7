#include "setup/setup_package.h"

namespace kelvane {

namespace {

bool read_package(device_file& file, setup_language language, std::vector<std::uint8_t>& package) {
    const std::int64_t length = file.length();
    if (length < static_cast<std::int64_t>(setup_image_limit)) return false;
    const auto at = static_cast<std::int64_t>(setup_length_offset(language));
    if (length < at + 4 || !file.seek(at)) return false;

    std::uint8_t field[4];
    if (file.read(field, 4) != 4) return false;
    const std::uint32_t stored =
        static_cast<std::uint32_t>(field[0]) | (static_cast<std::uint32_t>(field[1]) << 8) |
        (static_cast<std::uint32_t>(field[2]) << 16) | (static_cast<std::uint32_t>(field[3]) << 24);
    // An empty package is no cabinet; a longer one than the installer takes, or
    // one past the end of the file, means the file is damaged.
    if (stored == 0 || stored > setup_package_limit || stored > length - (at + 4)) return false;

    package.resize(stored);
    return file.read(package.data(), stored) == stored;
}

}  // namespace

bool read_setup_package(file_system& fs, std::u16string_view path, setup_language language,
                        std::vector<std::uint8_t>& package) {
    package.clear();
    auto file = fs.open_read(path);
    if (!file) return false;
    const bool ok = read_package(*file, language, package);
    file->close();
    if (!ok) package.clear();
    return ok;
}

}  // namespace kelvane
