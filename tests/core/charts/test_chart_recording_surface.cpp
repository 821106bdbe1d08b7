#include <gtest/gtest.h>

#include "platform/recording_dc.h"

using namespace kelvane;

namespace {

TEST(chart_recording_surface, pixels_are_clipped_and_copied_like_the_screen) {
    recording_dc s(4, 3);
    s.fill_rect({-5, -5, 2, 1}, rgb(1, 2, 3));  // clipped to (0, 0)-(2, 1)
    EXPECT_EQ(s.get_pixel(1, 0), rgb(1, 2, 3));
    EXPECT_EQ(s.get_pixel(2, 0), rgb(255, 255, 255));
    EXPECT_EQ(s.get_pixel(0, 1), rgb(255, 255, 255));
    EXPECT_EQ(s.get_pixel(4, 0), invalid_colour);
    EXPECT_EQ(s.get_pixel(0, -1), invalid_colour);
    s.set_pixel(9, 9, rgb(0, 0, 0));  // outside: ignored

    // An overlapping copy within one surface moves the block whole.
    s.set_pixel(2, 0, rgb(7, 7, 7));
    s.copy_block(1, 0, 3, 1, s, 0, 0);
    EXPECT_EQ(s.get_pixel(1, 0), rgb(1, 2, 3));
    EXPECT_EQ(s.get_pixel(2, 0), rgb(1, 2, 3));
    EXPECT_EQ(s.get_pixel(3, 0), rgb(7, 7, 7));

    // From another surface; what lies outside the source is left alone.
    recording_dc other(1, 1);
    other.set_pixel(0, 0, rgb(9, 9, 9));
    s.copy_block(0, 2, 2, 1, other, 0, 0);
    EXPECT_EQ(s.get_pixel(0, 2), rgb(9, 9, 9));
    EXPECT_EQ(s.get_pixel(1, 2), rgb(255, 255, 255));
}

TEST(chart_recording_surface, sixteen_bit_display_keeps_the_top_bits_of_each_channel) {
    recording_dc s(2, 2, pixel_depth::rgb565);
    s.set_pixel(0, 0, rgb(0x12, 0x34, 0x56));
    // Red 00010 010 -> 00010 000, green 001101 00 -> 001101 00, blue 01010 110 ->
    // 01010 010: the top bits are kept and repeated in the low ones.
    EXPECT_EQ(s.get_pixel(0, 0), rgb(0x10, 0x34, 0x52));
    s.set_pixel(1, 0, rgb(255, 255, 255));
    EXPECT_EQ(s.get_pixel(1, 0), rgb(255, 255, 255));
    s.set_pixel(1, 1, rgb(0, 0, 0));
    EXPECT_EQ(s.get_pixel(1, 1), rgb(0, 0, 0));
}

TEST(chart_recording_surface, calls_keep_the_state_they_were_drawn_with) {
    recording_dc s(10, 10);
    s.select_pen({pen_style::solid, 2, rgb(1, 1, 1)});
    s.select_brush(rgb(2, 2, 2));
    s.set_text_colour(rgb(3, 3, 3));
    s.move_to(1, 2);
    s.line_to(5, 6);
    s.draw_text(u"x", {0, 0, 5, 5}, dt_center);
    const auto& calls = s.calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[4].op, dc_op::line_to);
    EXPECT_EQ(calls[4].state.position, (point{1, 2}));  // where the line starts
    EXPECT_EQ(calls[4].points[0], (point{5, 6}));
    EXPECT_EQ(calls[4].state.pen.width, 2);
    EXPECT_EQ(calls[5].state.text, rgb(3, 3, 3));
    EXPECT_EQ(calls[5].state.brush, rgb(2, 2, 2));
    EXPECT_EQ(s.texts(), std::vector<std::u16string>{u"x"});
}

}  // namespace
