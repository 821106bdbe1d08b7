#pragma once
// The surface a report is prepared on. Preparing gives every chart entry a
// colour and keeps the colour the display shows for it, which a tap reads
// back. The screens draw on 32-bit images that show every colour exactly,
// so the probe only has to keep the few pixels it is given; it draws
// nothing, which keeps preparing a report of many entries quick.

#include "platform/pixel_surface.h"

namespace kelvane {

class colour_probe : public pixel_surface {
public:
    colour_probe() : pixel_surface(4, 4) {}
};

}  // namespace kelvane
