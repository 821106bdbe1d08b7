// The owner-drawn button's pixels in each style and state.

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <vector>

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
    // The smallest rectangle holding every pixel of the colour (empty when none).
    static QRect bounds_of(const QImage& img, colour c) {
        QRect box;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (pixel(img, x, y) == c) box |= QRect(x, y, 1, 1);
        return box;
    }
    // The colours met going down one column (or along one row), each run of
    // equal pixels once, with its length.
    struct run {
        colour c;
        int length;
    };
    static std::vector<run> runs(const QImage& img, QPoint from, QPoint step) {
        std::vector<run> out;
        for (QPoint p = from; img.rect().contains(p); p += step) {
            const colour c = pixel(img, p.x(), p.y());
            if (!out.empty() && out.back().c == c)
                ++out.back().length;
            else
                out.push_back({c, 1});
        }
        return out;
    }
    static std::vector<run> down(const QImage& img, int x) { return runs(img, {x, 0}, {0, 1}); }
    static std::vector<run> across(const QImage& img, int y) { return runs(img, {0, y}, {1, 0}); }
    static std::vector<colour> colours(const std::vector<run>& runs) {
        std::vector<colour> out;
        for (const run& r : runs) out.push_back(r.c);
        return out;
    }
    colour skin_at(int x, int y) { return prog->skin.surface()->get_pixel(x, y); }
    // Whether the skin's piece, less its key colour, is in the image with its
    // top left corner at the point.
    bool piece_at(const QImage& img, QPoint at, QRect piece, colour key) {
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 0; x < piece.width(); ++x) {
                const colour c = skin_at(piece.x() + x, piece.y() + y);
                if (c != key && pixel(img, at.x() + x, at.y() + y) != c) return false;
            }
        return true;
    }

    skin_button b{prog->skin};
};

TEST_F(skin_button_test, banded_face_at_rest_is_framed_and_runs_light_to_dark) {
    const QImage img = draw(b, 60, 24, false);
    const auto column = down(img, img.width() / 2);
    // Border, a white top, three bands growing darker, the three bottom lines, border.
    EXPECT_EQ(
        (std::vector<colour>{b.border, rgb(255, 255, 255), b.band_light, b.band_middle, b.band_dark,
                             b.line_upper, b.line_middle, b.line_lower, b.border}),
        colours(column));
    ASSERT_EQ(9u, column.size());
    // The bands share the face below the top evenly; the lines lie over the darkest one's foot.
    const int dark = column[4].length + column[5].length + column[6].length + column[7].length;
    EXPECT_LE(std::abs(column[3].length - column[2].length), 1);
    EXPECT_LE(std::abs(dark - column[2].length), 1);
    EXPECT_LT(column[1].length, column[2].length) << "the white top is the narrowest strip";
    for (int line : {0, 5, 6, 7, 8}) EXPECT_EQ(1, column[line].length);
    // Left and right: the border, then the inner line, around the middle band.
    const auto row = across(img, img.height() / 2);
    EXPECT_EQ((std::vector<colour>{b.border, b.inner_line, b.band_middle, b.inner_line, b.border}),
              colours(row));
    save_screenshot(img, "skin_button_banded");
}

TEST_F(skin_button_test, banded_face_stays_inside_its_rectangle) {
    const QColor ground(128, 128, 128);
    QImage img(80, 40, QImage::Format_RGB32);
    img.fill(ground);
    const QRect button(10, 8, 60, 24);
    {
        image_dc d(img);
        b.draw(d, {button.left(), button.top(), button.right() + 1, button.bottom() + 1}, false,
               false);
    }
    const colour g = rgb(128, 128, 128);
    EXPECT_EQ(img.width() * img.height() - button.width() * button.height(),
              count(img, g, img.rect()) - count(img, g, button));
    EXPECT_EQ(0, count(img, g, button.adjusted(2, 2, -2, -2))) << "the face fills it";
    EXPECT_EQ(button, bounds_of(img, b.border));
}

TEST_F(skin_button_test, banded_face_pressed_fills_only_the_upper_half_dark_to_light) {
    const QImage raised = draw(b, 60, 24, false);
    const QImage img = draw(b, 60, 24, true);
    const auto column = down(img, img.width() / 2);
    // The bands turn round and rise into the upper half, white below them.
    EXPECT_EQ(
        (std::vector<colour>{b.border, b.band_dark, b.band_middle, b.band_light, rgb(255, 255, 255),
                             b.line_upper, b.line_middle, b.line_lower, b.border}),
        colours(column));
    ASSERT_EQ(9u, column.size());
    const int bands_end = column[0].length + column[1].length + column[2].length + column[3].length;
    EXPECT_LE(std::abs(bands_end - img.height() / 2), 1);
    // Only the face changes: the frame and the bottom lines stay.
    const auto raised_column = down(raised, raised.width() / 2);
    for (int i : {0, 5, 6, 7, 8}) EXPECT_EQ(raised_column[i].length, column[i].length) << i;
    EXPECT_EQ(bounds_of(raised, b.border), bounds_of(img, b.border));
}

TEST_F(skin_button_test, bottom_lines_can_be_left_out) {
    b.bottom_lines = false;
    const QImage img = draw(b, 60, 24, false);
    for (colour line : {b.line_upper, b.line_middle, b.line_lower})
        EXPECT_EQ(0, count(img, line, img.rect()));
    // The dark band reaches down to the inner line above the border.
    EXPECT_EQ((std::vector<colour>{b.border, rgb(255, 255, 255), b.band_light, b.band_middle,
                                   b.band_dark, b.inner_line, b.border}),
              colours(down(img, img.width() / 2)));
}

TEST_F(skin_button_test, text_is_drawn_over_its_shadow_unless_turned_off) {
    b.setText("Save");
    b.font_size = 14;
    b.text_colour = rgb(200, 0, 0);
    const QImage with = draw(b, 60, 24, false);
    const QRect text = bounds_of(with, b.text_colour), shadow = bounds_of(with, b.shadow_colour);
    ASSERT_FALSE(text.isEmpty());
    ASSERT_FALSE(shadow.isEmpty());
    // The shadow shows one pixel right of and below the text.
    EXPECT_EQ(text.right() + 1, shadow.right());
    EXPECT_EQ(text.bottom() + 1, shadow.bottom());
    EXPECT_TRUE(with.rect().adjusted(2, 1, -2, -1).contains(shadow)) << "inside the frame";
    b.text_shadow = false;
    const QImage without = draw(b, 60, 24, false);
    EXPECT_EQ(text, bounds_of(without, b.text_colour));
    EXPECT_EQ(0, count(without, b.shadow_colour, without.rect()));
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
    const QRect piece(skin_piece::calculator_x, skin_piece::calculator_y,
                      skin_piece::calculator_width, skin_piece::calculator_height);
    b.set_style(skin_button::icon_centred, piece.x(), piece.y(), piece.width(), piece.height());
    const QImage img = draw(b, 30, 25, false, QColor(128, 128, 128));
    // No face around the icon: what is not the ground is the icon, centred.
    QRect icon;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pixel(img, x, y) != rgb(128, 128, 128)) icon |= QRect(x, y, 1, 1);
    ASSERT_EQ(piece.size(), icon.size());
    EXPECT_LE(std::abs(icon.left() - (img.width() - 1 - icon.right())), 1);
    EXPECT_LE(std::abs(icon.top() - (img.height() - 1 - icon.bottom())), 1);
    EXPECT_TRUE(piece_at(img, icon.topLeft(), piece, invalid_colour));
    const QImage pressed = draw(b, 30, 25, true, QColor(128, 128, 128));
    EXPECT_EQ(30 * 25, count(pressed, rgb(255, 255, 255), pressed.rect()));
}

TEST_F(skin_button_test, icon_with_text_leaves_out_the_key_colour) {
    const QRect piece(skin_piece::mark_x, skin_piece::mark_y, skin_piece::mark_size,
                      skin_piece::mark_size);
    b.set_style(skin_button::icon_and_text, piece.x(), piece.y(), piece.width(), piece.height());
    const QImage img = draw(b, 80, 24, false);
    EXPECT_EQ(0, count(img, skin_piece::mark_key, img.rect()));
    // The icon sits whole at the left end, halfway down.
    std::optional<QPoint> at;
    for (int y = 0; !at && y + piece.height() <= img.height(); ++y)
        for (int x = 0; !at && x + piece.width() <= img.width(); ++x)
            if (piece_at(img, {x, y}, piece, skin_piece::mark_key)) at = QPoint(x, y);
    ASSERT_TRUE(at.has_value());
    EXPECT_LT(at->x() + piece.width(), img.width() / 2);
    EXPECT_LE(std::abs(at->y() - (img.height() - at->y() - piece.height())), 1);
    EXPECT_EQ(b.border, pixel(img, img.width() / 2, 0)) << "the banded face is under the icon";
}

TEST_F(skin_button_test, two_state_picture_follows_the_toggle) {
    const QRect piece(80, 38, 15, 15);
    b.set_style(skin_button::two_state, piece.x(), piece.y(), piece.width(), piece.height());
    b.setText("Kind");
    b.font_size = 12;
    const QColor grey(128, 128, 128);
    const QImage off = draw(b, 40, 40, false, grey);
    EXPECT_TRUE(piece_at(off, {0, 0}, piece, invalid_colour)) << "the picture at the top left";
    // Three grey lines along the foot, the middle one the lightest.
    const auto foot = down(off, off.width() / 2);
    ASSERT_GE(foot.size(), 4u);
    const run* lines = &foot[foot.size() - 4];
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(1, lines[i].length);
        EXPECT_EQ(red_of(lines[i].c), green_of(lines[i].c));
        EXPECT_EQ(red_of(lines[i].c), blue_of(lines[i].c));
    }
    EXPECT_GT(red_of(lines[1].c), red_of(lines[0].c));
    EXPECT_GT(red_of(lines[1].c), red_of(lines[2].c));
    // The caption under the picture: white while off, black while on.
    const QRect caption(0, piece.height(), off.width(), off.height() - piece.height());
    EXPECT_GT(count(off, rgb(255, 255, 255), caption), 0) << "white text";
    EXPECT_EQ(0, count(off, rgb(0, 0, 0), caption));

    b.set_toggled(true);
    const QImage on = draw(b, 40, 40, false, grey);
    EXPECT_FALSE(piece_at(on, {0, 0}, piece, invalid_colour)) << "the second state must differ";
    EXPECT_EQ(off.copy(caption.adjusted(0, caption.height() - 4, 0, 0)),
              on.copy(caption.adjusted(0, caption.height() - 4, 0, 0)))
        << "the same foot";
    EXPECT_GT(count(on, rgb(0, 0, 0), caption), 0) << "black text";
    EXPECT_EQ(0, count(on, rgb(255, 255, 255), caption));
    save_screenshot(on, "skin_button_two_state");
}

}  // namespace
}  // namespace kelvane
