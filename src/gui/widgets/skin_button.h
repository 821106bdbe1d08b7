#pragma once
// The program's flat push button: a banded face (style 0), a skin icon
// centred (1), a skin icon at the left with text (2), or a two-state skin
// picture (3); drawn through the dc so tests see the same pixels as the screen.

#include <QAbstractButton>
#include <string>

#include "platform/dc.h"

namespace kelvane {
class skin;
}

namespace kelvane {

class skin_button : public QAbstractButton {
    Q_OBJECT
public:
    enum style_kind { banded = 0, icon_centred = 1, icon_and_text = 2, two_state = 3 };

    explicit skin_button(const skin& pieces, QWidget* parent = nullptr);

    // Style and skin piece in one call.
    void set_style(int style, int piece_x, int piece_y, int piece_width, int piece_height);
    int style() const { return style_; }
    void set_toggled(bool on);
    bool toggled() const { return toggled_; }
    void set_text(std::u16string_view text);
    // The width that shows the caption whole in its own font (font_size, or
    // the dialog's font), so that a layout can give it that much.
    int caption_width() const;

    colour text_colour = rgb(30, 60, 150);
    colour shadow_colour = rgb(200, 200, 200);
    bool text_shadow = true;
    bool bottom_lines = true;
    std::u16string font_face = u"Arial";
    int font_size = -1;  // pixel height; -1 keeps the dialog's font
    // The face's three colour bands and the three lines along its bottom edge.
    colour band_light = rgb(230, 250, 255), band_middle = rgb(200, 230, 250),
           band_dark = rgb(180, 200, 255);
    colour line_upper = rgb(55, 169, 55), line_middle = rgb(11, 150, 255),
           line_lower = rgb(133, 200, 255);
    colour inner_line = rgb(230, 250, 255);
    colour border = rgb(30, 60, 150);

    // Draws the button into r in the given state.
    void draw(dc& target, const kelvane::rect& r, bool pressed, bool focused);

    // A layout gives the button room for its whole caption (or its picture);
    // at the least, room for the caption written at the smallest size.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // The room the caption needs in its own font, or in one of this pixel size.
    QSize size_for(int font_pixels) const;

    const skin& pieces_;
    int style_ = banded;
    int piece_x_ = 0, piece_y_ = 0, piece_w_ = 0, piece_h_ = 0;
    bool toggled_ = false;
};

}  // namespace kelvane
