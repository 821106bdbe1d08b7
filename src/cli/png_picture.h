#pragma once
// Chart pictures as PNG files, written by the tool with libpng: the same
// pixels the program saves as a bitmap, compressed, for a person who names
// the file ".png".

#include <cstdint>
#include <vector>

#include "platform/dc.h"

namespace kelvane {

// The rectangle (0, 0, width, height) of the surface as a 24-bit RGB PNG
// file's bytes; pixels outside the surface are white. Empty when libpng
// could not encode it.
std::vector<std::uint8_t> png_bytes(dc& surface, int width, int height);

}  // namespace kelvane
