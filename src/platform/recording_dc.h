#pragma once
// A drawing surface for tests: it records every call in order, with the pen,
// brush, text colour, background and font in force at that moment, so a test
// can check what was drawn where. It also keeps a real pixel buffer for the
// calls that touch pixels directly (fill_rect, set_pixel, get_pixel,
// copy_block), so code that reads back what it drew can run without a screen.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dc.h"

namespace kelvane {

enum class dc_op {
    fill_rect,
    select_pen,
    select_brush,
    select_null_brush,
    move_to,
    line_to,
    polygon,
    rectangle,
    round_rect,
    draw_text,
    text_extent,
    set_text_colour,
    set_background_colour,
    set_background_mode,
    select_font,
    get_pixel,
    set_pixel,
    copy_block,
};

// The drawing state in force when a call was made.
struct dc_state {
    pen_request pen;
    colour brush = rgb(255, 255, 255);
    bool null_brush = false;
    colour text = rgb(0, 0, 0);
    colour background = rgb(255, 255, 255);
    background_mode mode = background_mode::opaque;
    font_request font;
    point position;
};

struct dc_call {
    dc_op op = dc_op::fill_rect;
    rect r;                     // fill_rect, rectangle, round_rect, draw_text, copy_block (target)
    std::vector<point> points;  // polygon; move_to/line_to/get_pixel/set_pixel: one point
    colour c = 0;               // fill_rect, select_brush, set_*_colour, set_pixel
    pen_request pen;            // select_pen
    font_request font;          // select_font
    background_mode mode = background_mode::opaque;
    std::u16string text;  // draw_text, text_extent
    unsigned flags = 0;   // draw_text
    dc_state state;       // after the call took effect
};

// How the pixel buffer stores colours: exactly, or as a 16-bit display shows
// them (5 bits red, 6 green, 5 blue, widened back to 8 bits on reading).
enum class pixel_depth { true_colour, rgb565 };

class recording_dc : public dc {
public:
    // A white surface of this size.
    recording_dc(int width, int height, pixel_depth depth = pixel_depth::true_colour);

    const std::vector<dc_call>& calls() const { return calls_; }
    // The calls of one kind, in order.
    std::vector<dc_call> calls_of(dc_op op) const;
    // Every text drawn with draw_text, in order.
    std::vector<std::u16string> texts() const;
    void clear_calls() { calls_.clear(); }
    const dc_state& state() const { return state_; }

    // What the display shows for a colour at this surface's depth.
    colour shown(colour c) const;

    void fill_rect(const rect& r, colour c) override;
    pen_request select_pen(const pen_request& p) override;
    colour select_brush(colour c) override;
    void select_null_brush() override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void polygon(const point* points, int count) override;
    void rectangle(const rect& r) override;
    void round_rect(const rect& r, int ellipse_width, int ellipse_height) override;
    void draw_text(std::u16string_view text, const rect& r, unsigned flags) override;
    // A fixed 6 x 12 pixel cell per unit, so layouts are predictable in tests.
    size text_extent(std::u16string_view text) override;
    colour set_text_colour(colour c) override;
    colour set_background_colour(colour c) override;
    background_mode set_background_mode(background_mode m) override;
    font_request select_font(const font_request& f) override;
    colour get_pixel(int x, int y) override;
    void set_pixel(int x, int y, colour c) override;
    void copy_block(int x, int y, int width, int height, dc& source, int source_x,
                    int source_y) override;
    int width() const override { return width_; }
    int height() const override { return height_; }

private:
    // Appends a call with the state in force now (set the state first).
    dc_call& record(dc_op op);
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void put(int x, int y, colour c);
    colour at(int x, int y) const;

    int width_;
    int height_;
    pixel_depth depth_;
    std::vector<colour> pixels_;
    std::vector<dc_call> calls_;
    dc_state state_;
};

}  // namespace kelvane
