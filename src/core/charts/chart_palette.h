#pragma once
// The colours of chart entries. Each entry's colour stands out on the white
// chart background and from the entries next to it, so that slices and
// columns can be told apart and a tap finds its entry by colour.

#include <cstddef>
#include <span>

#include "platform/dc.h"

namespace kelvane {

// The colour of the entry at this position: hues a golden angle apart, so
// neighbours differ most, each dark enough to keep a contrast of at least
// 3 : 1 with white. Never black or white, which a tap ignores.
colour chart_entry_colour(std::size_t index);

// The colours of the first `count` entries of a chart, no two alike as long
// as there are colours to go round: an entry whose colour an earlier one
// took moves on in the blue channel from where the last entry of that
// colour stopped. They depend on nothing but the positions, so they are
// worked out once per thread and kept for every later chart; the view holds
// until the next call on the same thread.
std::span<const colour> distinct_entry_colours(std::size_t count);

}  // namespace kelvane
