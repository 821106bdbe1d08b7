#include "core/charts/cell_layout.h"

#include <algorithm>

namespace kelvane {

void cell_layout::set_area(const rect& area) {
    if (max_width_ < area.width() - 2 * h_margin_) h_margin_ = (area.width() - max_width_) / 2;
    full_ = {area.left + h_margin_, area.top + v_margin_, area.right - h_margin_,
             area.bottom - v_margin_};
    current_ = full_;
}

rect cell_layout::cut_top(int width, int height, int alignment, bool new_row, float width_percent,
                          float height_percent) {
    return cut(width, height, alignment, new_row, width_percent, height_percent, true);
}

rect cell_layout::cut_bottom(int width, int height, int alignment, bool new_row,
                             float width_percent, float height_percent) {
    return cut(width, height, alignment, new_row, width_percent, height_percent, false);
}

rect cell_layout::cut(int width, int height, int alignment, bool new_row, float width_percent,
                      float height_percent, bool from_top) {
    if (width_percent > 1.0f)
        width = static_cast<int>(static_cast<float>(full_.width()) * width_percent * 0.01);
    if (height_percent > 1.0f)
        height = static_cast<int>(static_cast<float>(full_.height()) * height_percent * 0.01);

    rect cell;
    if (width < 0) {
        cell.left = current_.left;
        cell.right = current_.right;
    } else if (alignment == align_centre) {
        cell.left = current_.left + (current_.width() - width) / 2;
        cell.right = cell.left + width;
    } else if (alignment == align_right) {
        cell.right = current_.right;
        cell.left = cell.right - width;
    } else {
        cell.left = current_.left;
        cell.right = cell.left + width;
    }

    if (from_top) {
        cell.top = current_.top;
        cell.bottom = height < 0 ? current_.bottom : std::min(cell.top + height, full_.bottom);
    } else {
        cell.bottom = current_.bottom;
        cell.top = height < 0 ? current_.top : std::max(cell.bottom - height, full_.top);
    }

    if (new_row) {
        current_.left = full_.left;
        current_.right = full_.right;
        const int step = (height < 0 ? cell.height() : height) + gap_;
        if (from_top)
            current_.top += step;
        else
            current_.bottom -= step;
    } else if (alignment == align_right) {
        current_.right = cell.left - gap_;
    } else {
        current_.left = cell.right + gap_;
    }
    return cell;
}

}  // namespace kelvane
