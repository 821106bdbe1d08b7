#pragma once
// The picture of the chart screen: a white page, a 13-pixel title row and
// the chart below it. The title is written only when the picture is saved or
// the period cannot be changed (a trip); otherwise the row stays empty so the
// chart does not jump when the title comes and goes.

#include <string_view>

#include "core/charts/chart_engine.h"
#include "platform/dc.h"

namespace kelvane {

// The font size the chart asks for before scaling to the screen area: the
// handheld's narrow screens get one pixel more.
int chart_font_request(int screen_width);

// Draws the page into the client rectangle in a "System" font of the given
// pixel height (restored afterwards). An empty title writes none.
void draw_chart_page(chart_engine& chart, dc& surface, const rect& client, bool fit_width,
                     std::u16string_view title, int font_pixel_height);

}  // namespace kelvane
