// kelvane-setup-pack: builds the Setup file from the installer's executable
// image and the English and French device packages.
//
//   kelvane-setup-pack IMAGE ENGLISH_CAB FRENCH_CAB OUTPUT
//
// Exit status 0 when OUTPUT was written, 1 when the inputs do not fit the
// layout, 2 on wrong use or a file that cannot be read or written.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "setup/setup_packer.h"

namespace {

bool read_host_file(const char* path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Writes beside the target and renames, so a failed run never leaves a cut
// Setup file. The Setup file runs as the image did, so it takes its permissions.
bool write_host_file(const std::string& path, const std::vector<std::uint8_t>& data,
                     std::filesystem::perms perms) {
    const std::string temp = path + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(reinterpret_cast<const char*>(data.data()),
                  static_cast<std::streamsize>(data.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temp, ignored);
            return false;
        }
    }
    std::error_code ec;
    std::filesystem::permissions(temp, perms, ec);
    if (!ec) std::filesystem::rename(temp, path, ec);
    if (!ec) return true;
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s IMAGE ENGLISH_CAB FRENCH_CAB OUTPUT\n",
                     argc > 0 ? argv[0] : "kelvane-setup-pack");
        return 2;
    }
    std::vector<std::uint8_t> inputs[3];
    for (int i = 0; i < 3; ++i) {
        if (!read_host_file(argv[i + 1], inputs[i])) {
            std::fprintf(stderr, "kelvane-setup-pack: cannot read %s\n", argv[i + 1]);
            return 2;
        }
    }
    std::vector<std::uint8_t> setup;
    std::string error;
    if (!kelvane::assemble_setup_file(inputs[0], inputs[1], inputs[2], setup, error)) {
        std::fprintf(stderr, "kelvane-setup-pack: %s does not fit: %s\n", argv[4], error.c_str());
        return 1;
    }
    std::error_code ec;
    const auto perms = std::filesystem::status(argv[1], ec).permissions();
    if (ec || !write_host_file(argv[4], setup, perms)) {
        std::fprintf(stderr, "kelvane-setup-pack: cannot write %s\n", argv[4]);
        return 2;
    }
    return 0;
}
