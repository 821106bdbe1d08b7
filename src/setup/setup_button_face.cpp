#include "setup/setup_button_face.h"

namespace kelvane {

namespace {

void line(dc& d, int x0, int y0, int x1, int y1, colour c) {
    d.select_pen({pen_style::solid, 1, c});
    d.move_to(x0, y0);
    d.line_to(x1, y1);
}

// A band of the face: the whole in the lower face colour, its first and last
// thirds in the given colours.
void band(dc& d, int left, int right, int top, int bottom, colour first, colour last) {
    if (bottom <= top) return;
    const int third = (bottom - top) / 3;
    d.fill_rect({left, top, right, bottom}, setup_button_lower_face);
    d.fill_rect({left, top, right, top + third}, first);
    d.fill_rect({left, bottom - third, right, bottom}, last);
}

}  // namespace

void draw_setup_button(dc& d, const rect& r, bool pressed, std::u16string_view caption,
                       colour text) {
    const int l = r.left, t = r.top, rt = r.right, b = r.bottom, h = r.height();
    d.select_pen({pen_style::solid, 1, setup_button_outline});
    d.select_brush(setup_button_outline);
    d.round_rect(r, 2, 6);
    d.fill_rect({l + 2, t + 1, rt - 2, b - 1}, rgb(255, 255, 255));
    if (pressed)
        band(d, l + 2, rt - 2, t + 1, t + h / 2, setup_button_lowest_band, setup_button_upper_face);
    else
        band(d, l + 2, rt - 2, t + h / 5, b - 1, setup_button_upper_face, setup_button_lowest_band);

    line(d, l + 1, t + 1, l + 1, b - 2, setup_button_upper_face);
    line(d, rt - 2, t + 1, rt - 2, b - 2, setup_button_upper_face);
    line(d, l + 2, b - 2, rt - 2, b - 2, setup_button_upper_face);
    for (int i = 0; i < 3; ++i)
        line(d, l + 2, b - 2 - i, rt - 2, b - 2 - i, setup_button_underlines[i]);

    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(text);
    d.draw_text(caption, r, dt_center | dt_vcenter | dt_singleline);
}

}  // namespace kelvane
