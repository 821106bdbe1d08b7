#pragma once
// How much larger a screen is than the handheld's 240 x 320 one, as a ratio
// of lengths: text and bars grow by it, so that a screen twice as wide and
// twice as tall shows everything twice as large, not four times.

#include <algorithm>
#include <cmath>

namespace kelvane {

inline double screen_length_scale(int screen_width, int screen_height) {
    if (screen_width <= 0 || screen_height <= 0) return 1.0;
    const double area_ratio = static_cast<double>(screen_width) * screen_height / (240.0 * 320.0);
    return std::max(1.0, std::sqrt(area_ratio));
}

// A length in pixels (a font size, a bar's height) on a screen of this size;
// never below the length itself.
inline int scaled_length(int length, int screen_width, int screen_height) {
    return std::max(length,
                    static_cast<int>(length * screen_length_scale(screen_width, screen_height)));
}

}  // namespace kelvane
