#include "core/common/scaled_font.h"

#include <algorithm>

#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

int scaled_font_size(int requested, int screen_width, int screen_height) {
    return std::max(9, scaled_length(requested, screen_width, screen_height));
}

int scaled_font_size(int requested) {
    return scaled_font_size(requested, device().screen_width(), device().screen_height());
}

}  // namespace kelvane
