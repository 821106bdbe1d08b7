#pragma once
// One-line texts on narrow screens: a long text (or a long translation) is
// written smaller rather than cut off.

#include <string_view>

namespace kelvane {

// The largest pixel size from `largest` down to 9 in which the text fits the
// width on one line (9 when even that is too wide).
int fitted_font_size(std::u16string_view text, std::u16string_view face, int largest, int width);

}  // namespace kelvane
