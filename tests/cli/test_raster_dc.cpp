// The tool's own drawing surface: what the chart pictures are made of.
#include <gtest/gtest.h>

#include "cli/raster_dc.h"

namespace kelvane {
namespace {

constexpr colour white = rgb(255, 255, 255);
constexpr colour red = rgb(255, 0, 0);
constexpr colour blue = rgb(0, 0, 255);

TEST(raster_dc, lines_stop_short_of_their_end_and_keep_to_the_surface) {
    raster_dc d(10, 10);
    d.select_pen({pen_style::solid, 1, red});
    d.move_to(-5, 2);
    d.line_to(4, 2);
    EXPECT_EQ(red, d.get_pixel(0, 2));
    EXPECT_EQ(red, d.get_pixel(3, 2));
    EXPECT_EQ(white, d.get_pixel(4, 2));  // the end point is not drawn
    d.line_to(4, 20);                     // leaves the surface without harm
    EXPECT_EQ(red, d.get_pixel(4, 9));
    EXPECT_EQ(invalid_colour, d.get_pixel(10, 0));
    d.select_pen({pen_style::null, 1, blue});
    d.move_to(0, 0);
    d.line_to(9, 0);
    EXPECT_EQ(white, d.get_pixel(5, 0));
}

TEST(raster_dc, polygons_fill_with_the_brush_inside_their_outline) {
    raster_dc d(20, 20);
    d.select_pen({pen_style::solid, 1, rgb(0, 0, 0)});
    d.select_brush(blue);
    const point triangle[] = {{2, 2}, {17, 2}, {2, 17}};
    d.polygon(triangle, 3);
    EXPECT_EQ(blue, d.get_pixel(5, 5));
    EXPECT_EQ(rgb(0, 0, 0), d.get_pixel(10, 2));  // outline
    EXPECT_EQ(white, d.get_pixel(15, 15));        // beyond the long side
    // A slice with all its points on one radius is a line, never a fill.
    raster_dc flat(20, 20);
    flat.select_brush(blue);
    const point line[] = {{5, 5}, {15, 5}, {10, 5}};
    flat.polygon(line, 3);
    EXPECT_EQ(rgb(0, 0, 0), flat.get_pixel(10, 5));
    EXPECT_EQ(white, flat.get_pixel(10, 6));
}

TEST(raster_dc, text_is_painted_in_its_rectangle_only) {
    raster_dc d(40, 12);
    d.set_text_colour(red);
    d.set_background_mode(background_mode::transparent);
    d.draw_text(u"8888888888", {0, 0, 12, 12}, dt_left | dt_singleline);
    int painted = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x) {
            if (d.get_pixel(x, y) == red) ++painted;
            if (x >= 12) {
                EXPECT_EQ(white, d.get_pixel(x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(painted, 10);
    // Larger fonts scale the glyphs up, as far as the rectangle lets them.
    EXPECT_EQ(6, d.text_extent(u"x").width);
    d.select_font({u"System", 24, 400});
    EXPECT_EQ(12, d.text_extent(u"x").width);
    raster_dc big(40, 40);
    big.select_font({u"System", 24, 400});
    big.set_text_colour(red);
    big.draw_text(u"I", {0, 0, 40, 12}, dt_left);
    big.draw_text(u"I", {0, 20, 40, 40}, dt_left);
    int low = 0, high = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            if (big.get_pixel(x, y) == red) ++(y < 20 ? low : high);
    EXPECT_EQ(4 * low, high);
}

}  // namespace
}  // namespace kelvane
