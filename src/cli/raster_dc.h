#pragma once
// A drawing surface that paints into memory without any window system: the
// tool draws its charts here and saves them as bitmaps. Lines, filled
// polygons, rectangles and text are rasterised the plain way (no
// antialiasing, as on the handheld); text uses a built-in 5 x 7 pixel font,
// scaled up for larger fonts.

#include <vector>

#include "platform/dc.h"

namespace kelvane {

class raster_dc : public dc {
public:
    // A white surface of this size.
    raster_dc(int width, int height);

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
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void put(int x, int y, colour c);
    // A dot of the pen's width centred on the point.
    void pen_dot(int x, int y);
    // Every pixel from a to b, the end point excluded as the device does.
    void pen_line(point a, point b);
    int glyph_scale() const;

    int width_;
    int height_;
    std::vector<colour> pixels_;
    pen_request pen_;
    colour brush_ = rgb(255, 255, 255);
    bool null_brush_ = false;
    colour text_ = rgb(0, 0, 0);
    colour background_ = rgb(255, 255, 255);
    background_mode mode_ = background_mode::opaque;
    font_request font_;
    point position_;
};

}  // namespace kelvane
