#include "core/charts/chart_page.h"

#include <algorithm>

namespace kelvane {

int chart_font_request(int screen_width) {
    return screen_width < 320 ? 15 : 14;
}

int chart_title_height(dc& surface, int font_pixel_height) {
    const font_request old_font = surface.select_font({u"System", font_pixel_height, 400});
    const int line = surface.text_extent(u"0").height;
    surface.select_font(old_font);
    return std::max(13, line);
}

void draw_chart_page(chart_engine& chart, dc& surface, const rect& client, bool fit_width,
                     std::u16string_view title, int font_pixel_height, int title_right) {
    surface.fill_rect(client, rgb(255, 255, 255));
    const font_request font{u"System", font_pixel_height, 400};
    const int title_height = chart_title_height(surface, font_pixel_height);
    const font_request old_font = surface.select_font(font);
    const rect title_row{client.left, client.top, client.right, client.top + title_height};
    if (!title.empty()) {
        const int right = title_right >= 0 ? std::min(title_right, client.right) : client.right;
        const rect box{title_row.left + 5, title_row.top, right, title_row.bottom};
        // A long report name is written smaller; one too long even then ends in "...".
        font_request fitted = font;
        while (fitted.pixel_height > 9 && surface.text_extent(title).width > box.width()) {
            --fitted.pixel_height;
            surface.select_font(fitted);
        }
        surface.draw_text(title, box, dt_left | dt_vcenter | dt_singleline | dt_end_ellipsis);
        surface.select_font(font);
    }
    chart.draw(surface, {client.left, title_row.bottom, client.right, client.bottom}, fit_width);
    surface.select_font(old_font);
}

}  // namespace kelvane
