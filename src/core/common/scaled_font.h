#pragma once
// Fonts grow with the screen's sides above 240 x 320 pixels: a requested
// pixel size s becomes the largest of s, 9 and s times the length ratio
// (the square root of the area ratio), so text keeps its proportion to the
// screen and to the bars around it.

namespace kelvane {

int scaled_font_size(int requested);
// The same rule for a given screen size.
int scaled_font_size(int requested, int screen_width, int screen_height);

}  // namespace kelvane
