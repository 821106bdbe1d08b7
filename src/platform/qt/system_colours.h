#pragma once
// The device's system colours carried on the host: the desktop palette's
// text, highlight, window and button colours.

#include "platform/device_info.h"

class QPalette;

namespace kelvane {

system_colour_set colours_from_palette(const QPalette& palette);

}  // namespace kelvane
