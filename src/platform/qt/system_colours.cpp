#include "platform/qt/system_colours.h"

#include <QPalette>

#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {
system_colour_set& colours() {
    static system_colour_set c;
    return c;
}
}  // namespace

const system_colour_set& system_colours() {
    return colours();
}

void read_system_colours(const QPalette& p) {
    auto& c = colours();
    c.window_text = from_qrgb(p.color(QPalette::Active, QPalette::WindowText).rgb());
    c.highlight_text = from_qrgb(p.color(QPalette::Active, QPalette::HighlightedText).rgb());
    c.window = from_qrgb(p.color(QPalette::Active, QPalette::Base).rgb());
    c.highlight = from_qrgb(p.color(QPalette::Active, QPalette::Highlight).rgb());
    c.menu_text = from_qrgb(p.color(QPalette::Active, QPalette::ButtonText).rgb());
    c.menu = from_qrgb(p.color(QPalette::Active, QPalette::Button).rgb());
}

}  // namespace kelvane
