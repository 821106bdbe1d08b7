#pragma once
// A drawing surface that keeps the pixels it is given and ignores all
// drawing: what preparing a report needs (it gives every chart entry a colour
// and reads that colour back) without the cost of drawing anything. It keeps
// what a 32-bit image keeps of a colour, its three bytes, so a colour read
// back is the one a screen image would show.

#include <vector>

#include "platform/dc.h"

namespace kelvane {

class pixel_surface : public dc {
public:
    pixel_surface(int width, int height)
        : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}
    void fill_rect(const rect&, colour) override {}
    pen_request select_pen(const pen_request& p) override { return p; }
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
    font_request select_font(const font_request& f) override { return f; }
    colour get_pixel(int x, int y) override {
        return inside(x, y) ? pixels_[static_cast<std::size_t>(y * width_ + x)] : invalid_colour;
    }
    void set_pixel(int x, int y, colour c) override {
        if (inside(x, y)) pixels_[static_cast<std::size_t>(y * width_ + x)] = c & 0xFFFFFFu;
    }
    void copy_block(int, int, int, int, dc&, int, int) override {}
    int width() const override { return width_; }
    int height() const override { return height_; }

private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    int width_, height_;
    std::vector<colour> pixels_;
};

}  // namespace kelvane
