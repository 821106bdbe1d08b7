#include "cli/png_picture.h"

#include <png.h>

#include <csetjmp>

namespace kelvane {

namespace {

void append_bytes(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void no_flush(png_structp) {}

// Encodes rows already laid out as RGB; false when libpng gave up. Kept
// apart from anything with a destructor, as libpng reports errors by
// jumping back to the setjmp.
bool encode(std::vector<std::uint8_t>& out, std::vector<png_bytep>& rows, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, append_bytes, no_flush);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

std::vector<std::uint8_t> png_bytes(dc& surface, int width, int height) {
    if (width <= 0 || height <= 0) return {};
    const std::size_t row_size = static_cast<std::size_t>(width) * 3;
    std::vector<std::uint8_t> pixels(row_size * static_cast<std::size_t>(height));
    std::vector<png_bytep> rows(static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = pixels.data() + row_size * static_cast<std::size_t>(y);
        rows[static_cast<std::size_t>(y)] = row;
        for (int x = 0; x < width; ++x) {
            colour c = surface.get_pixel(x, y);
            if (c == invalid_colour) c = rgb(255, 255, 255);
            row[3 * x + 0] = static_cast<std::uint8_t>(red_of(c));
            row[3 * x + 1] = static_cast<std::uint8_t>(green_of(c));
            row[3 * x + 2] = static_cast<std::uint8_t>(blue_of(c));
        }
    }
    std::vector<std::uint8_t> out;
    if (!encode(out, rows, width, height)) return {};
    return out;
}

}  // namespace kelvane
