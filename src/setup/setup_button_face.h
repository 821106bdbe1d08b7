#pragma once
// The look of the wizard's Back, Next and Cancel buttons: a rounded outline,
// a white face with three blue bands that swap when the button is pressed,
// and coloured lines along the bottom edge. Drawn on the platform's drawing
// surface so the window only hands over a painter.

#include <string_view>

#include "platform/dc.h"

namespace kelvane {

inline constexpr colour setup_button_outline = rgb(30, 60, 150);
inline constexpr colour setup_button_upper_face = rgb(230, 251, 255);
inline constexpr colour setup_button_lower_face = rgb(200, 228, 250);
inline constexpr colour setup_button_lowest_band = rgb(180, 200, 255);
inline constexpr colour setup_button_underlines[3] = {rgb(133, 200, 255), rgb(11, 150, 255),
                                                      rgb(55, 169, 55)};
inline constexpr colour setup_button_text = rgb(0, 0, 0);
// The text of a button that does nothing where it stands (Back on the first page).
inline constexpr colour setup_button_greyed_text = rgb(150, 150, 150);

// Draws the button filling r, with the caption centred in the surface's
// current font.
void draw_setup_button(dc& d, const rect& r, bool pressed, std::u16string_view caption,
                       colour text);

}  // namespace kelvane
