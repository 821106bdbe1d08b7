#include "core/common/scaled_font.h"

#include <algorithm>

#include "platform/services.h"

namespace kelvane {

int scaled_font_size(int requested, int screen_width, int screen_height) {
    const double ratio = static_cast<double>(screen_width) * screen_height / (240.0 * 320.0);
    return std::max({requested, 9, static_cast<int>(ratio * requested)});
}

int scaled_font_size(int requested) {
    return scaled_font_size(requested, device().screen_width(), device().screen_height());
}

}  // namespace kelvane
