#include "setup/key_store.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "setup/ini_text.h"

namespace fs = std::filesystem;

namespace kelvane {

namespace {

std::optional<std::string> read_text(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool one_line(std::string_view s) {
    return s.find_first_of("\r\n") == std::string_view::npos;
}

}  // namespace

std::optional<std::string> key_store::read(std::string_view key, std::string_view name) const {
    const auto text = read_text(file_);
    if (!text) return std::nullopt;
    return ini_text::parse(*text).value(key, name);
}

bool key_store::write(std::string_view key, std::string_view name, std::string_view value) const {
    if (!one_line(key) || !one_line(name) || !one_line(value) || key.find(']') != key.npos ||
        name.find('=') != name.npos)
        return false;
    ini_text ini = ini_text::parse(read_text(file_).value_or(""));
    ini.set(key, name, value);
    return save(ini.text());
}

bool key_store::remove(std::string_view key, std::string_view name) const {
    const auto text = read_text(file_);
    if (!text) return true;
    ini_text ini = ini_text::parse(*text);
    if (!ini.erase(key, name)) return true;
    return save(ini.text());
}

bool key_store::save(const std::string& text) const {
    std::error_code ec;
    if (file_.has_parent_path()) fs::create_directories(file_.parent_path(), ec);
    const fs::path temp = file_.string() + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out << "; Kelvane's stand-in for the desktop registry\n" << text;
        out.close();
        if (!out) {
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, file_, ec);
    if (!ec) return true;
    std::error_code ignored;
    fs::remove(temp, ignored);
    return false;
}

fs::path default_key_store_file() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return fs::path(config) / "kelvane" / "registry.ini";
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : ".") / ".config" / "kelvane" / "registry.ini";
}

}  // namespace kelvane
