#pragma once
// The colours of chart entries. Each entry's colour stands out on the white
// chart background and from the entries next to it, so that slices and
// columns can be told apart and a tap finds its entry by colour.

#include <cstddef>

#include "platform/dc.h"

namespace kelvane {

// The colour of the entry at this position: hues a golden angle apart, so
// neighbours differ most, each dark enough to keep a contrast of at least
// 3 : 1 with white. Never black or white, which a tap ignores.
colour chart_entry_colour(std::size_t index);

}  // namespace kelvane
