// The owner-drawn button's pixels in each style and state.

#include <QImage>
#include <algorithm>

#include "gui/gui_test_support.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {
namespace {

class skin_button_test : public gui_test {
protected:
    QImage draw(skin_button& b, int w, int h, bool pressed, QColor ground = Qt::white) {
        QImage img(w, h, QImage::Format_RGB32);
        img.fill(ground);
        image_dc d(img);
        b.draw(d, {0, 0, w, h}, pressed, false);
        return img;
    }
    static int count(const QImage& img, colour c, QRect area) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += pixel(img, x, y) == c;
        return n;
    }
    // Rows holding at least one pixel of the colour.
    static int rows_with(const QImage& img, colour c) {
        int rows = 0;
        for (int y = 0; y < img.height(); ++y)
            rows += count(img, c, QRect(0, y, img.width(), 1)) > 0;
        return rows;
    }
    colour skin_at(int x, int y) { return prog->skin.surface()->get_pixel(x, y); }

    skin_button b{prog->skin};
};

TEST_F(skin_button_test, banded_face_at_rest) {
    const QImage img = draw(b, 60, 24, false);
    // Border, white top, three bands from a fifth of the height down, the inner lines.
    EXPECT_EQ(b.border, pixel(img, 30, 0));
    EXPECT_EQ(b.border, pixel(img, 30, 23));
    EXPECT_EQ(rgb(255, 255, 255), pixel(img, 30, 3));
    EXPECT_EQ(b.band_light, pixel(img, 30, 4));
    EXPECT_EQ(b.band_light, pixel(img, 30, 9));
    EXPECT_EQ(b.band_middle, pixel(img, 30, 10));
    EXPECT_EQ(b.band_middle, pixel(img, 30, 15));
    EXPECT_EQ(b.band_dark, pixel(img, 30, 16));
    EXPECT_EQ(b.line_upper, pixel(img, 30, 20));
    EXPECT_EQ(b.line_middle, pixel(img, 30, 21));
    EXPECT_EQ(b.line_lower, pixel(img, 30, 22));
    EXPECT_EQ(b.inner_line, pixel(img, 1, 12));
    EXPECT_EQ(b.inner_line, pixel(img, 58, 12));
    EXPECT_EQ(b.line_lower, pixel(img, 57, 22));
    save_screenshot(img, "skin_button_banded");
}

TEST_F(skin_button_test, banded_face_pressed_fills_only_the_upper_half) {
    const QImage img = draw(b, 60, 24, true);
    EXPECT_EQ(b.band_dark, pixel(img, 30, 1));
    EXPECT_EQ(b.band_dark, pixel(img, 30, 3));
    EXPECT_EQ(b.band_middle, pixel(img, 30, 4));
    EXPECT_EQ(b.band_middle, pixel(img, 30, 7));
    EXPECT_EQ(b.band_light, pixel(img, 30, 8));
    EXPECT_EQ(b.band_light, pixel(img, 30, 11));
    EXPECT_EQ(rgb(255, 255, 255), pixel(img, 30, 12));
    EXPECT_EQ(rgb(255, 255, 255), pixel(img, 30, 19));
    EXPECT_EQ(b.line_upper, pixel(img, 30, 20));
}

TEST_F(skin_button_test, bottom_lines_can_be_left_out) {
    b.bottom_lines = false;
    const QImage img = draw(b, 60, 24, false);
    EXPECT_EQ(b.band_dark, pixel(img, 30, 20));
    EXPECT_EQ(b.inner_line, pixel(img, 30, 22));
}

TEST_F(skin_button_test, text_is_drawn_over_its_shadow_unless_turned_off) {
    b.setText("Save");
    b.font_size = 14;
    const QRect inside(3, 2, 54, 17);
    const QImage with = draw(b, 60, 24, false);
    EXPECT_GT(count(with, b.text_colour, inside), 0);
    EXPECT_GT(count(with, b.shadow_colour, inside), 0);
    b.text_shadow = false;
    const QImage without = draw(b, 60, 24, false);
    EXPECT_GT(count(without, b.text_colour, inside), 0);
    EXPECT_EQ(0, count(without, b.shadow_colour, inside));
}

TEST_F(skin_button_test, a_negative_font_size_keeps_the_dialogs_font) {
    b.setText("Hg");
    b.text_shadow = false;
    b.text_colour = rgb(200, 0, 0);
    QFont big = b.font();
    big.setPixelSize(20);
    b.setFont(big);
    const int dialog_rows = rows_with(draw(b, 60, 30, false), b.text_colour);
    b.font_size = 9;
    const int small_rows = rows_with(draw(b, 60, 30, false), b.text_colour);
    EXPECT_GT(dialog_rows, small_rows + 4);
}

TEST_F(skin_button_test, a_caption_longer_than_the_button_is_written_smaller_not_cut) {
    // A translated caption in the trips page's 90-pixel button.
    b.text_shadow = false;
    b.text_colour = rgb(200, 0, 0);
    const int w = 90;
    auto text_columns = [&](const QImage& img) {
        int first = img.width(), last = -1;
        for (int x = 0; x < img.width(); ++x)
            if (count(img, b.text_colour, QRect(x, 0, 1, img.height())) > 0) {
                first = std::min(first, x);
                last = x;
            }
        return std::pair{first, last};
    };
    // The dialog's font, given in points as a page's may be.
    QFont dialog_font = device_font({u"Arial", 14});
    dialog_font.setPointSizeF(10.5);
    b.setFont(dialog_font);
    for (int size : {14, -1}) {
        b.font_size = size;
        b.setText(QString::fromUtf8("Ajouter un trajet"));
        const auto [first, last] = text_columns(draw(b, w, 24, false));
        EXPECT_GT(first, 1) << "font size " << size;
        EXPECT_LT(last, w - 2) << "font size " << size;
        const auto [wide_first, wide_last] = text_columns(draw(b, 3 * w, 24, false));
        EXPECT_LT(last - first, wide_last - wide_first) << "font size " << size;
        // A caption that fits keeps its size.
        b.setText("Add Trip");
        EXPECT_EQ(rows_with(draw(b, w, 24, false), b.text_colour),
                  rows_with(draw(b, 3 * w, 24, false), b.text_colour))
            << "font size " << size;
    }
}

TEST_F(skin_button_test, centred_icon_and_its_white_pressed_face) {
    b.set_style(skin_button::icon_centred, skin_piece::calculator_x, skin_piece::calculator_y,
                skin_piece::calculator_width, skin_piece::calculator_height);
    const QImage img = draw(b, 30, 25, false, QColor(128, 128, 128));
    for (auto [x, y] : {std::pair{0, 0}, {9, 10}, {17, 20}})
        EXPECT_EQ(skin_at(skin_piece::calculator_x + x, skin_piece::calculator_y + y),
                  pixel(img, 6 + x, 2 + y));
    EXPECT_EQ(rgb(128, 128, 128), pixel(img, 2, 2)) << "no face around the icon";
    const QImage pressed = draw(b, 30, 25, true, QColor(128, 128, 128));
    EXPECT_EQ(30 * 25, count(pressed, rgb(255, 255, 255), pressed.rect()));
}

TEST_F(skin_button_test, icon_with_text_leaves_out_the_key_colour) {
    b.set_style(skin_button::icon_and_text, skin_piece::mark_x, skin_piece::mark_y,
                skin_piece::mark_size, skin_piece::mark_size);
    const QImage img = draw(b, 80, 24, false);
    EXPECT_EQ(0, count(img, skin_piece::mark_key, img.rect()));
    int copied = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            const colour c = skin_at(skin_piece::mark_x + x, skin_piece::mark_y + y);
            if (c == skin_piece::mark_key) continue;
            EXPECT_EQ(c, pixel(img, 3 + x, 6 + y));
            ++copied;
        }
    EXPECT_GT(copied, 10);
    EXPECT_EQ(b.border, pixel(img, 40, 0)) << "the banded face is under the icon";
}

TEST_F(skin_button_test, two_state_picture_follows_the_toggle) {
    b.set_style(skin_button::two_state, 80, 38, 15, 15);
    b.setText("Kind");
    b.font_size = 12;
    const QColor grey(128, 128, 128);
    const QImage off = draw(b, 40, 40, false, grey);
    EXPECT_EQ(skin_at(85, 43), pixel(off, 5, 5));
    EXPECT_EQ(rgb(150, 150, 150), pixel(off, 20, 36));
    EXPECT_EQ(rgb(250, 250, 250), pixel(off, 20, 37));
    EXPECT_EQ(rgb(200, 200, 200), pixel(off, 20, 38));
    EXPECT_GT(count(off, rgb(255, 255, 255), QRect(0, 20, 40, 15)), 0) << "white text";
    EXPECT_EQ(0, count(off, rgb(0, 0, 0), QRect(0, 20, 40, 15)));

    b.set_toggled(true);
    const QImage on = draw(b, 40, 40, false, grey);
    EXPECT_EQ(skin_at(85, 76), pixel(on, 5, 5));
    EXPECT_NE(skin_at(85, 43), skin_at(85, 76)) << "the second state must differ";
    EXPECT_GT(count(on, rgb(0, 0, 0), QRect(0, 20, 40, 15)), 0) << "black text";
    EXPECT_EQ(0, count(on, rgb(255, 255, 255), QRect(0, 20, 40, 15)));
    save_screenshot(on, "skin_button_two_state");
}

}  // namespace
}  // namespace kelvane
