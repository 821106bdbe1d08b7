// kelvane-make-package: builds one device package, a cabinet of the files the
// program folder receives on installation.
//
//   kelvane-make-package OUTPUT NAME=FILE...
//
// NAME is the file's name in the program folder, FILE the file to take it
// from. A name ending in ".exe" is marked as the program. The build fails
// (exit status 1) when the package would not fit in the Setup file; exit
// status 2 on wrong use or a file that cannot be read or written.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "setup/cabinet/cabinet.h"
#include "setup/setup_layout.h"

namespace fs = std::filesystem;

namespace {

bool ends_with(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT NAME=FILE...\n", argv[0]);
        return 2;
    }
    const fs::path output = argv[1];
    std::error_code ignored;
    fs::remove(output, ignored);  // a failed build leaves no package behind

    std::vector<kelvane::cabinet_file> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq == 0 || eq == std::string::npos) {
            std::fprintf(stderr, "kelvane-make-package: expected NAME=FILE, got %s\n", argv[i]);
            return 2;
        }
        kelvane::cabinet_file file;
        file.name = arg.substr(0, eq);
        const std::string source = arg.substr(eq + 1);
        std::ifstream in(source, std::ios::binary);
        if (in) file.data.assign(std::istreambuf_iterator<char>(in), {});
        if (!in.is_open() || in.bad()) {
            std::fprintf(stderr, "kelvane-make-package: cannot read %s\n", source.c_str());
            return 2;
        }
        file.executable = ends_with(file.name, ".exe");
        files.push_back(std::move(file));
    }

    std::vector<std::uint8_t> cabinet;
    std::string error;
    if (!kelvane::write_cabinet(files, cabinet, error)) {
        std::fprintf(stderr, "kelvane-make-package: %s: %s\n", output.c_str(), error.c_str());
        return 2;
    }
    if (cabinet.size() > kelvane::setup_package_limit) {
        std::fprintf(stderr,
                     "kelvane-make-package: %s has %zu bytes, but the Setup file holds packages "
                     "of at most %zu bytes; make the program or its files smaller\n",
                     output.c_str(), cabinet.size(), kelvane::setup_package_limit);
        return 1;
    }
    const fs::path temp = output.string() + ".part";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(cabinet.data()),
                  static_cast<std::streamsize>(cabinet.size()));
        out.close();
        if (!out) {
            fs::remove(temp, ignored);
            std::fprintf(stderr, "kelvane-make-package: cannot write %s\n", output.c_str());
            return 2;
        }
    }
    std::error_code ec;
    fs::rename(temp, output, ec);
    if (ec) {
        fs::remove(temp, ignored);
        std::fprintf(stderr, "kelvane-make-package: cannot write %s\n", output.c_str());
        return 2;
    }
    std::printf("kelvane-make-package: %s: %zu files, %zu bytes\n", output.c_str(), files.size(),
                cabinet.size());
    return 0;
}
