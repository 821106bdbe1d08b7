#include "core/charts/chart_palette.h"

#include <algorithm>
#include <cmath>

namespace kelvane {

namespace {

double linear(double channel) {
    const double c = channel / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(double r, double g, double b) {
    return 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b);
}

// A luminance up to this keeps a contrast of 3 : 1 against white
// ((1 + 0.05) / (L + 0.05) >= 3), with room for rounding to whole bytes.
constexpr double brightest = 0.29;

}  // namespace

colour chart_entry_colour(std::size_t index) {
    constexpr double golden_angle = 137.50776405;
    const double hue = std::fmod(static_cast<double>(index) * golden_angle, 360.0);
    // Three shades in turn, so that hues which come round close together
    // later in a long chart still differ in depth.
    static constexpr double saturations[] = {0.80, 0.60, 0.95};
    static constexpr double values[] = {0.85, 0.70, 0.55};
    const double s = saturations[index % 3];
    const double v = values[(index / 3) % 3];

    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(hue / 60.0, 2.0) - 1));
    const double m = v - c;
    double r = 0, g = 0, b = 0;
    switch (static_cast<int>(hue / 60.0) % 6) {
        case 0:
            r = c, g = x;
            break;
        case 1:
            r = x, g = c;
            break;
        case 2:
            g = c, b = x;
            break;
        case 3:
            g = x, b = c;
            break;
        case 4:
            r = x, b = c;
            break;
        default:
            r = c, b = x;
            break;
    }
    r = (r + m) * 255, g = (g + m) * 255, b = (b + m) * 255;
    // Light hues (yellow, cyan, green) are darkened until they stand out on white.
    for (int step = 0; step < 64 && luminance(r, g, b) > brightest; ++step)
        r *= 0.95, g *= 0.95, b *= 0.95;
    auto byte = [](double channel) {
        return std::clamp(static_cast<int>(std::lround(channel)), 1, 254);
    };
    return rgb(byte(r), byte(g), byte(b));
}

}  // namespace kelvane
