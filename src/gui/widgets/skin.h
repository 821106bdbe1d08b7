#pragma once
// The skin: one picture from which every screen copies its pieces (tab bar,
// icons, chart buttons, report pictures, check marks), held once for the run
// by the program and handed to the controls that draw from it.

#include <memory>

#include "platform/dc.h"

namespace kelvane {

class image_dc;

class skin {
public:
    static constexpr int skin_width = 300;
    static constexpr int skin_height = 350;

    skin();
    virtual ~skin();

    // Loads the built-in skin picture; false when it is missing or of the wrong size.
    bool load_skin();
    bool loaded() const { return surface_ != nullptr; }

    // Plain copy of a block of the skin.
    void draw_piece(dc& target, int x, int y, int source_x, int source_y, int width,
                    int height) const;
    // Copies a block pixel by pixel, leaving out the key colour (small pieces only).
    void draw_piece_keyed(dc& target, int x, int y, int source_x, int source_y, int width,
                          int height, int key_red, int key_green, int key_blue) const;

    // The skin's own surface (for pixel checks).
    dc* surface() const;

private:
    std::unique_ptr<image_dc> surface_;
};

// Pieces of the skin used by more than one screen.
namespace skin_piece {
inline constexpr int tab_bar_x = 0, tab_bar_y = 133, tab_bar_width = 240, tab_height = 33;
inline constexpr int tab_width = 35, lit_tab_y = 166;
inline constexpr int filler_x = 0, filler_y = 0, filler_width = 80;
inline constexpr int calculator_x = 0, calculator_y = 112, calculator_width = 18,
                     calculator_height = 21;
inline constexpr int picklist_x = 18, picklist_y = 112, picklist_width = 19, picklist_height = 21;
inline constexpr int mark_x = 36, mark_y = 53, mark_size = 12;
inline constexpr colour mark_key = rgb(1, 1, 1);
// Check marks of check lists: icon index i at (check_x + 12 * i, check_y).
inline constexpr int check_x = 0, check_y = 240, check_size = 12;
// The report pictures: picture n at (32 * n, 199).
inline constexpr int report_picture_y = 199, report_picture_size = 32;
}  // namespace skin_piece

}  // namespace kelvane
