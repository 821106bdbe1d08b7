#pragma once
// Assembling a Setup file at build time: the executable image, the filler,
// and the two packages at their fixed offsets (see setup_layout.h).

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace kelvane {

// Builds the Setup file in out (3200008 bytes). False, with out empty and a
// message for the person building in error, when the image is 500000 bytes
// or longer, or a package is empty or longer than 1350000 bytes.
bool assemble_setup_file(std::span<const std::uint8_t> image, std::span<const std::uint8_t> english,
                         std::span<const std::uint8_t> french, std::vector<std::uint8_t>& out,
                         std::string& error);

}  // namespace kelvane
