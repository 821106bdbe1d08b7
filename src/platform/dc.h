#pragma once
// The drawing surface ("device context"): everything the program draws (the
// tab bar, owner-drawn controls, charts) goes through this interface, so the
// same drawing code runs on screen (QPainter) and in core tests (recording).

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvane {

// 32-bit colour with red in the lowest byte, then green, then blue.
using colour = std::uint32_t;
constexpr colour rgb(int r, int g, int b) {
    return static_cast<colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int red_of(colour c) {
    return c & 0xFF;
}
constexpr int green_of(colour c) {
    return (c >> 8) & 0xFF;
}
constexpr int blue_of(colour c) {
    return (c >> 16) & 0xFF;
}
// What get_pixel answers outside the surface.
inline constexpr colour invalid_colour = 0xFFFFFFFFu;

struct point {
    int x = 0, y = 0;
    friend bool operator==(const point&, const point&) = default;
};

// A rectangle in the device's convention: right and bottom are exclusive.
struct rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const rect&, const rect&) = default;
};

struct size {
    int width = 0, height = 0;
};

// Text flags for draw_text, as the device names them.
enum text_flags : unsigned {
    dt_left = 0x0,
    dt_center = 0x1,
    dt_right = 0x2,
    dt_vcenter = 0x4,
    dt_bottom = 0x8,
    dt_wordbreak = 0x10,
    dt_singleline = 0x20,
    dt_noclip = 0x100,
    // A single line too long for its box ends in "..." instead of being cut.
    dt_end_ellipsis = 0x8000,
};

enum class background_mode { transparent, opaque };

enum class pen_style { solid, dash, null };

struct font_request {
    std::u16string face = u"System";  // "System", "Arial", "宋体" map to installed fonts
    int pixel_height = 16;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    friend bool operator==(const font_request&, const font_request&) = default;
};

struct pen_request {
    pen_style style = pen_style::solid;
    int width = 1;
    colour c = rgb(0, 0, 0);
    friend bool operator==(const pen_request&, const pen_request&) = default;
};

class dc {
public:
    virtual ~dc() = default;

    // Fills [left, right) x [top, bottom) with a colour; pen and brush unchanged.
    virtual void fill_rect(const rect& r, colour c) = 0;
    // Selects a pen or a solid brush; each returns the one it replaced.
    virtual pen_request select_pen(const pen_request& p) = 0;
    virtual colour select_brush(colour c) = 0;
    // A hollow brush: shapes are outlined only.
    virtual void select_null_brush() = 0;

    virtual void move_to(int x, int y) = 0;
    // Draws from the current position to (x, y), excluding the end point.
    virtual void line_to(int x, int y) = 0;
    // Filled with the brush, outlined with the pen.
    virtual void polygon(const point* points, int count) = 0;
    virtual void rectangle(const rect& r) = 0;
    virtual void round_rect(const rect& r, int ellipse_width, int ellipse_height) = 0;

    virtual void draw_text(std::u16string_view text, const rect& r, unsigned flags) = 0;
    virtual size text_extent(std::u16string_view text) = 0;
    // Each returns the previous value.
    virtual colour set_text_colour(colour c) = 0;
    virtual colour set_background_colour(colour c) = 0;
    virtual background_mode set_background_mode(background_mode m) = 0;
    virtual font_request select_font(const font_request& f) = 0;

    virtual colour get_pixel(int x, int y) = 0;
    virtual void set_pixel(int x, int y, colour c) = 0;
    // Copies a block of another surface (the skin bitmap, an off-screen image).
    virtual void copy_block(int x, int y, int width, int height, dc& source, int source_x,
                            int source_y) = 0;

    // The surface's size in pixels.
    virtual int width() const = 0;
    virtual int height() const = 0;
};

}  // namespace kelvane
