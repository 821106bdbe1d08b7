// The part of a Setup file from the package's length field on; the first
// byte chooses the language, whose package is read.
#include <algorithm>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "setup/setup_package.h"

KELVANE_FUZZ_TARGET(setup_package)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    if (size == 0) return 0;
    const auto language = data[0] & 1 ? setup_language::french : setup_language::english;
    const std::size_t at = setup_length_offset(language);
    // The image and the filler before the package are never read.
    std::vector<std::uint8_t> file(at, 0xAB);
    file.insert(file.end(), data + 1, data + size);
    memory_file_system fs;
    fs.put(u"\\Setup.exe", std::move(file));
    std::vector<std::uint8_t> package;
    const bool read = read_setup_package(fs, u"\\Setup.exe", language, package);
    if (read) {
        expect(size >= 5, "a package without its length field");
        const std::uint32_t stored =
            data[1] | data[2] << 8 | data[3] << 16 | static_cast<std::uint32_t>(data[4]) << 24;
        expect(package.size() == stored && stored > 0 && stored <= setup_package_limit,
               "a package of another length than its field says");
        expect(std::equal(package.begin(), package.end(), data + 5), "a package of other bytes");
    } else {
        expect(package.empty(), "a refused package left bytes behind");
    }
    return 0;
}
