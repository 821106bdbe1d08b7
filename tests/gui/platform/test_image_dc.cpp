// The Qt drawing surface sets the device's pixels for thin lines: the start
// point is drawn, the end point is not, in every direction.

#include "gui/gui_test_support.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {
namespace {

using image_dc_test = gui_test;

std::string row_of(image_dc& d, int y, int from, int to) {
    std::string s;
    for (int x = from; x <= to; ++x) s += d.get_pixel(x, y) == rgb(255, 0, 0) ? '#' : '.';
    return s;
}

std::string column_of(image_dc& d, int x, int from, int to) {
    std::string s;
    for (int y = from; y <= to; ++y) s += d.get_pixel(x, y) == rgb(255, 0, 0) ? '#' : '.';
    return s;
}

TEST_F(image_dc_test, thin_lines_leave_out_only_their_end_point) {
    image_dc d(20, 20);
    d.select_pen({pen_style::solid, 1, rgb(255, 0, 0)});
    d.move_to(2, 1);
    d.line_to(6, 1);
    d.move_to(6, 3);
    d.line_to(2, 3);
    d.move_to(10, 2);
    d.line_to(10, 6);
    d.move_to(12, 6);
    d.line_to(12, 2);
    EXPECT_EQ("..####.", row_of(d, 1, 0, 6));
    EXPECT_EQ("...####", row_of(d, 3, 0, 6));
    EXPECT_EQ(".####..", column_of(d, 10, 1, 7));
    EXPECT_EQ("..####.", column_of(d, 12, 1, 7));

    d.move_to(0, 10);
    d.line_to(4, 14);
    std::string diagonal;
    for (int i = 0; i <= 4; ++i) diagonal += d.get_pixel(i, 10 + i) == rgb(255, 0, 0) ? '#' : '.';
    EXPECT_EQ("####.", diagonal);
}

}  // namespace
}  // namespace kelvane
