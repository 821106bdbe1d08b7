#include "tool_run_support.h"

#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace kelvane::test {

namespace {

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

std::string read_text(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

tool_root::tool_root() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvane-cli-XXXXXX").string();
    root_ = mkdtemp(pattern.data());
}

tool_root::~tool_root() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

tool_result tool_root::run(const std::vector<std::string>& args) const {
    std::vector<std::string> all = {"--root", root_.string()};
    all.insert(all.end(), args.begin(), args.end());
    return run_bare(all);
}

tool_result tool_root::run_bare(const std::vector<std::string>& args) const {
    const auto out_file = root_ / ".stdout", err_file = root_ / ".stderr";
    std::string command = "LC_ALL=C " + quoted(KELVANE_TOOL);
    for (const auto& a : args) command += " " + quoted(a);
    command += " >" + quoted(out_file.string()) + " 2>" + quoted(err_file.string());
    const int status = std::system(command.c_str());
    tool_result r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = read_text(out_file);
    r.err = read_text(err_file);
    std::filesystem::remove(out_file);
    std::filesystem::remove(err_file);
    return r;
}

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::map<std::string, std::vector<std::uint8_t>> folder_bytes(const std::filesystem::path& folder) {
    std::map<std::string, std::vector<std::uint8_t>> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[std::filesystem::relative(entry.path(), folder).string()] =
                file_bytes(entry.path());
    return files;
}

void write_bytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t u32_at(const std::vector<std::uint8_t>& b, std::size_t o) {
    return std::uint32_t(b.at(o)) | std::uint32_t(b.at(o + 1)) << 8 |
           std::uint32_t(b.at(o + 2)) << 16 | std::uint32_t(b.at(o + 3)) << 24;
}

std::uint16_t u16_at(const std::vector<std::uint8_t>& b, std::size_t o) {
    return static_cast<std::uint16_t>(b.at(o) | b.at(o + 1) << 8);
}

double f64_at(const std::vector<std::uint8_t>& b, std::size_t o) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | b.at(o + static_cast<std::size_t>(i));
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

std::u16string text_at(const std::vector<std::uint8_t>& b, std::size_t o, std::size_t units) {
    std::u16string s;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t c = u16_at(b, o + 2 * i);
        if (c == 0) break;
        s += c;
    }
    return s;
}

}  // namespace kelvane::test
