#include <gtest/gtest.h>

#include "core/charts/cell_layout.h"

using namespace kelvane;

namespace {

TEST(cell_layout, surplus_beyond_the_maximum_width_becomes_equal_margins) {
    cell_layout wide;
    wide.set_max_width(320);
    wide.set_area({0, 0, 480, 320});
    EXPECT_EQ(wide.full(), (rect{80, 0, 400, 320}));

    // Margins given count against the maximum: 230 fits within 280 here.
    cell_layout narrow;
    narrow.set_margins(5, 2);
    narrow.set_max_width(280);
    narrow.set_area({0, 10, 240, 110});
    EXPECT_EQ(narrow.full(), (rect{5, 12, 235, 108}));

    cell_layout odd;  // an odd surplus leaves the extra pixel on the right
    odd.set_area({0, 0, 245, 10});
    EXPECT_EQ(odd.full(), (rect{2, 0, 243, 10}));
}

TEST(cell_layout, cells_side_by_side_from_both_ends_of_a_row) {
    cell_layout l;
    l.set_gap(2);
    l.set_area({0, 0, 200, 100});
    EXPECT_EQ(l.cut_top(14, -1, cell_layout::align_left, false), (rect{0, 0, 14, 100}));
    EXPECT_EQ(l.cut_top(50, 20, cell_layout::align_right, false), (rect{150, 0, 200, 20}));
    // 25 % of the full width, from what remains on the right.
    EXPECT_EQ(l.cut_top(0, 20, cell_layout::align_right, false, 25), (rect{98, 0, 148, 20}));
    // Centred in the remaining span 16..96.
    EXPECT_EQ(l.cut_top(20, 10, cell_layout::align_centre, false), (rect{46, 0, 66, 10}));
    EXPECT_EQ(l.current().left, 68);
    EXPECT_EQ(l.cut_top(-1, -1, cell_layout::align_left, false), (rect{68, 0, 96, 100}));
}

TEST(cell_layout, rows_from_the_top_and_from_the_bottom) {
    cell_layout l;
    l.set_gap(3);
    l.set_area({0, 200, 240, 300});
    EXPECT_EQ(l.cut_top(-1, 15, cell_layout::align_left, true), (rect{0, 200, 240, 215}));
    EXPECT_EQ(l.cut_top(-1, 15, cell_layout::align_left, true), (rect{0, 218, 240, 233}));
    EXPECT_EQ(l.cut_bottom(-1, 15, cell_layout::align_left, true), (rect{0, 285, 240, 300}));
    EXPECT_EQ(l.cut_bottom(30, 10, cell_layout::align_right, true), (rect{210, 272, 240, 282}));
    // The height percent is of the full height; what is left lies between.
    EXPECT_EQ(l.cut_top(-1, 0, cell_layout::align_left, true, 0, 10), (rect{0, 236, 240, 246}));
    EXPECT_EQ(l.current(), (rect{0, 249, 240, 269}));

    // A cell never reaches past the full rectangle.
    EXPECT_EQ(l.cut_top(-1, 100, cell_layout::align_left, true).bottom, 300);
    EXPECT_EQ(l.cut_bottom(-1, 500, cell_layout::align_left, false).top, 200);
}

}  // namespace
