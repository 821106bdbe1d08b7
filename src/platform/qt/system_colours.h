#pragma once
// The shared drawing colours, read once at start from the desktop's palette:
// selected rows of owner-drawn lists and the charts' selected legend row use them.

#include "platform/dc.h"

class QPalette;

namespace kelvane {

struct system_colour_set {
    colour window_text = rgb(0, 0, 0);
    colour highlight_text = rgb(255, 255, 255);
    colour window = rgb(255, 255, 255);
    colour highlight = rgb(0, 0, 128);
    colour menu_text = rgb(0, 0, 0);
    colour menu = rgb(255, 255, 255);
};

const system_colour_set& system_colours();
void read_system_colours(const QPalette& palette);

}  // namespace kelvane
