#pragma once
// The program-wide state the start-up and the main screen share.

namespace kelvane {

struct shell_state {
    // The main screen may lay its pages out again on a size change; true only
    // once the main screen has settled after being shown.
    bool layout_enabled = false;
    int current_page = -1;    // page on show (0-5); -1 = none yet
    int previous_page = -1;   // page shown before the current one
    int screen_height = 320;  // last known screen height in pixels
};

}  // namespace kelvane
