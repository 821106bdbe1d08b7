#pragma once
// Running the built kelvane-tool from a test: a fresh device root per test,
// the command's exit code, standard output and standard error, and the raw
// bytes of the files it wrote.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kelvane::test {

struct tool_result {
    int code = -1;
    std::string out;
    std::string err;
};

class tool_root {
public:
    tool_root();
    ~tool_root();
    tool_root(const tool_root&) = delete;
    tool_root& operator=(const tool_root&) = delete;

    const std::filesystem::path& path() const { return root_; }
    std::filesystem::path data_folder() const { return root_ / "Program Files" / "Kelvane"; }

    // Runs kelvane-tool --root <root> with the arguments (in the C locale, so
    // dates read month first).
    tool_result run(const std::vector<std::string>& args) const;
    // Runs kelvane-tool with exactly these arguments.
    tool_result run_bare(const std::vector<std::string>& args) const;

private:
    std::filesystem::path root_;
};

std::vector<std::uint8_t> file_bytes(const std::filesystem::path& p);
// Every file below a folder (by its path relative to the folder) with its bytes.
std::map<std::string, std::vector<std::uint8_t>> folder_bytes(const std::filesystem::path& folder);
void write_bytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes);
// Little-endian values at an offset of a byte buffer.
std::uint32_t u32_at(const std::vector<std::uint8_t>& b, std::size_t offset);
std::uint16_t u16_at(const std::vector<std::uint8_t>& b, std::size_t offset);
double f64_at(const std::vector<std::uint8_t>& b, std::size_t offset);
// UTF-16LE text of a zero-terminated field.
std::u16string text_at(const std::vector<std::uint8_t>& b, std::size_t offset, std::size_t units);

}  // namespace kelvane::test
