#pragma once
// The desktop's registry, carried on the host as one small text file: each
// registry key is a section named by its full path, each value a line, the
// default (unnamed) value under the name "@". Setup reads the application
// manager's path from it; the manager stand-in writes that path when it is
// registered.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvane {

// The key under which the desktop registers its application manager.
inline constexpr std::string_view application_manager_key =
    "HKEY_LOCAL_MACHINE\\software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
inline constexpr std::string_view default_value_name = "@";

class key_store {
public:
    explicit key_store(std::filesystem::path file) : file_(std::move(file)) {}

    // The value, or nullopt when the file, the key or the value is missing.
    std::optional<std::string> read(std::string_view key, std::string_view name) const;
    // Writes the value, keeping every other; the file is replaced whole or not
    // at all. False when it cannot be written or the text cannot be kept on
    // one line.
    bool write(std::string_view key, std::string_view name, std::string_view value) const;
    // Removes the value; true when it is gone afterwards.
    bool remove(std::string_view key, std::string_view name) const;

    const std::filesystem::path& file() const { return file_; }

private:
    bool save(const std::string& text) const;
    std::filesystem::path file_;
};

// $XDG_CONFIG_HOME/kelvane/registry.ini, else ~/.config/kelvane/registry.ini.
std::filesystem::path default_key_store_file();

}  // namespace kelvane
