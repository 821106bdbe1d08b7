#pragma once
// Cuts a rectangle into cells, row by row from the top or from the bottom.
// Charts, pickers and several screens lay themselves out with it, so that a
// wider screen keeps the handheld's proportions: beyond the maximum width the
// surplus becomes equal margins left and right.

#include "platform/dc.h"

namespace kelvane {

class cell_layout {
public:
    enum align { align_left = 0, align_centre = 1, align_right = 2 };

    void set_margins(int horizontal, int vertical) { h_margin_ = horizontal, v_margin_ = vertical; }
    void set_gap(int gap) { gap_ = gap; }
    void set_max_width(int max_width) { max_width_ = max_width; }
    // Set the margins, gap and maximum width first: the area is shrunk by them here.
    void set_area(const rect& area);

    // Cuts a cell standing on the current top (cut_top) or bottom (cut_bottom).
    // A width or height of -1 takes all that remains; a percent above 1 gives
    // the size as that share of the full width or height instead. With
    // new_row the next cut starts a new row below (or above) this one;
    // otherwise it continues beside this cell.
    rect cut_top(int width, int height, int alignment, bool new_row, float width_percent = 0,
                 float height_percent = 0);
    rect cut_bottom(int width, int height, int alignment, bool new_row, float width_percent = 0,
                    float height_percent = 0);

    const rect& full() const { return full_; }
    const rect& current() const { return current_; }
    int horizontal_margin() const { return h_margin_; }

private:
    rect cut(int width, int height, int alignment, bool new_row, float width_percent,
             float height_percent, bool from_top);

    rect full_;
    rect current_;
    int h_margin_ = 0;
    int v_margin_ = 0;
    int gap_ = 0;
    int max_width_ = 240;
};

}  // namespace kelvane
