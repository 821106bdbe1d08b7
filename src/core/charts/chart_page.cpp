#include "core/charts/chart_page.h"

namespace kelvane {

int chart_font_request(int screen_width) {
    return screen_width < 320 ? 15 : 14;
}

void draw_chart_page(chart_engine& chart, dc& surface, const rect& client, bool fit_width,
                     std::u16string_view title, int font_pixel_height) {
    surface.fill_rect(client, rgb(255, 255, 255));
    const font_spec old_font = surface.select_font({u"System", font_pixel_height, 400});
    const rect title_row{client.left, client.top, client.right, client.top + 13};
    if (!title.empty())
        surface.draw_text(title,
                          {title_row.left + 5, title_row.top, title_row.right, title_row.bottom},
                          dt_left | dt_singleline);
    chart.draw(surface, {client.left, title_row.bottom, client.right, client.bottom}, fit_width);
    surface.select_font(old_font);
}

}  // namespace kelvane
