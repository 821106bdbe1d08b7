#include "platform/qt/system_colours.h"

#include <QPalette>

#include "platform/qt/qpainter_dc.h"

namespace kelvane {

system_colour_set colours_from_palette(const QPalette& p) {
    system_colour_set c;
    c.window_text = from_qrgb(p.color(QPalette::Active, QPalette::WindowText).rgb());
    c.highlight_text = from_qrgb(p.color(QPalette::Active, QPalette::HighlightedText).rgb());
    c.window = from_qrgb(p.color(QPalette::Active, QPalette::Base).rgb());
    c.highlight = from_qrgb(p.color(QPalette::Active, QPalette::Highlight).rgb());
    c.menu_text = from_qrgb(p.color(QPalette::Active, QPalette::ButtonText).rgb());
    c.menu = from_qrgb(p.color(QPalette::Active, QPalette::Button).rgb());
    return c;
}

}  // namespace kelvane
