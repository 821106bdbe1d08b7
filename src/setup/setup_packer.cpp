#include "setup/setup_packer.h"

#include <algorithm>

#include "setup/setup_layout.h"

namespace kelvane {

namespace {

bool package_fits(std::span<const std::uint8_t> package, const char* name, std::string& error) {
    if (package.empty()) {
        error = std::string("the ") + name + " package is empty";
        return false;
    }
    if (package.size() > setup_package_limit) {
        error = std::string("the ") + name + " package has " + std::to_string(package.size()) +
                " bytes; at most " + std::to_string(setup_package_limit) + " fit";
        return false;
    }
    return true;
}

void put_package(std::vector<std::uint8_t>& out, std::size_t at,
                 std::span<const std::uint8_t> package) {
    const auto n = static_cast<std::uint32_t>(package.size());
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(n >> (8 * i));
    std::copy(package.begin(), package.end(), out.begin() + at + 4);
}

}  // namespace

bool assemble_setup_file(std::span<const std::uint8_t> image, std::span<const std::uint8_t> english,
                         std::span<const std::uint8_t> french, std::vector<std::uint8_t>& out,
                         std::string& error) {
    out.clear();
    error.clear();
    if (image.size() >= setup_image_limit) {
        error = "the executable image has " + std::to_string(image.size()) +
                " bytes; it must be shorter than " + std::to_string(setup_image_limit) +
                " so that the packages can follow it";
        return false;
    }
    if (!package_fits(english, "English", error) || !package_fits(french, "French", error))
        return false;

    out.assign(setup_file_size, 0);
    std::copy(image.begin(), image.end(), out.begin());
    // The filler runs from the end of the image, whatever its length, up to
    // the first length field; its last repetition is cut there.
    for (std::size_t i = image.size(); i < setup_english_length_offset; ++i)
        out[i] = static_cast<std::uint8_t>(setup_filler >> (8 * ((i - image.size()) % 4)));
    put_package(out, setup_english_length_offset, english);
    put_package(out, setup_french_length_offset, french);
    return true;
}

}  // namespace kelvane
