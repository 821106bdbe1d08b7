#pragma once
// The surface a report is prepared on. Preparing gives every chart entry a
// colour and keeps the colour the display shows for it, which a tap reads
// back. The screens draw on 32-bit images that show every colour exactly,
// so the probe only has to keep the pixels it is given; it draws nothing,
// which keeps preparing a report of many entries quick.

#include <array>

#include "platform/dc.h"

namespace kelvane {

class colour_probe : public dc {
public:
    void fill_rect(const rect&, colour) override {}
    pen_spec select_pen(const pen_spec& p) override { return p; }
    colour select_brush(colour c) override { return c; }
    void select_null_brush() override {}
    void move_to(int, int) override {}
    void line_to(int, int) override {}
    void polygon(const point*, int) override {}
    void rectangle(const rect&) override {}
    void round_rect(const rect&, int, int) override {}
    void draw_text(std::u16string_view, const rect&, unsigned) override {}
    size text_extent(std::u16string_view) override { return {}; }
    colour set_text_colour(colour c) override { return c; }
    colour set_background_colour(colour c) override { return c; }
    background_mode set_background_mode(background_mode m) override { return m; }
    font_spec select_font(const font_spec& f) override { return f; }
    colour get_pixel(int x, int y) override {
        return inside(x, y) ? pixels_[static_cast<std::size_t>(y * side + x)] : invalid_colour;
    }
    void set_pixel(int x, int y, colour c) override {
        // What a 32-bit image keeps of a colour: its three bytes.
        if (inside(x, y)) pixels_[static_cast<std::size_t>(y * side + x)] = c & 0xFFFFFFu;
    }
    void copy_block(int, int, int, int, dc&, int, int) override {}
    int width() const override { return side; }
    int height() const override { return side; }

private:
    static constexpr int side = 4;
    static bool inside(int x, int y) { return x >= 0 && y >= 0 && x < side && y < side; }
    std::array<colour, side * side> pixels_{};
};

}  // namespace kelvane
