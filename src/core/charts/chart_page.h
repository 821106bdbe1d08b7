#pragma once
// The picture of the chart screen: a white page, a title row and the chart
// below it. The title is written only when the picture is saved or
// the period cannot be changed (a trip); otherwise the row stays empty so the
// chart does not jump when the title comes and goes.

#include <string_view>

#include "core/charts/chart_engine.h"
#include "platform/dc.h"

namespace kelvane {

// The font size the chart asks for before scaling to the screen area: the
// handheld's narrow screens get one pixel more.
int chart_font_request(int screen_width);

// The height of the title row: as high as the chart's text, at least 13
// pixels, whether or not a title is written in it.
int chart_title_height(dc& surface, int font_pixel_height);

// Draws the page into the client rectangle in a "System" font of the given
// pixel height (restored afterwards). An empty title writes none; the title
// stops short of title_right when that is given (buttons stand beyond it).
void draw_chart_page(chart_engine& chart, dc& surface, const rect& client, bool fit_width,
                     std::u16string_view title, int font_pixel_height, int title_right = -1);

}  // namespace kelvane
