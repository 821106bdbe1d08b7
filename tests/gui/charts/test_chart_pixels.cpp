#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <cmath>

#include "core/charts/chart_engine.h"
#include "platform/memory_file_system.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

using namespace kelvane;

namespace {

// The pixel checks need fonts and a paint device; the program may already
// have its application object.
bool ensure_application() {
    if (!QGuiApplication::instance()) {
        static int argc = 1;
        static char name[] = "gui_tests";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }
    return true;
}

class chart_pixels : public ::testing::Test {
protected:
    void fill(std::initializer_list<double> values) {
        char16_t n = u'a';
        for (double v : values) chart.add_value(std::u16string(1, n++), v, 0, u"01/01/24", u"");
        chart.prepare_entries(surface);
    }
    int count_of(colour c, const rect& r) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (surface.get_pixel(x, y) == c) ++n;
        return n;
    }

    bool application = ensure_application();  // before the image surface
    memory_file_system fs;
    fixed_clock clock;
    host_device_info dev;
    scripted_message_box boxes;
    recording_shell shell;
    scoped_services s{{&fs, &clock, &dev, &boxes, &shell}};
    image_dc surface{240, 320};
    chart_engine chart;
};

TEST_F(chart_pixels, columns_axes_and_a_tap_on_the_screen) {
    surface.fill_rect({0, 0, 240, 320}, rgb(12, 34, 56));  // what was on screen before
    fill({1, 2, 4});
    EXPECT_EQ(surface.get_pixel(1, 1), rgb(12, 34, 56));  // the probe pixel is put back
    chart.draw_columns(surface, {0, 13, 240, 320}, false);

    // Three bars of 22 centred on the plot: x = 69 + 12 + 34 i; the axis at y = 200.
    for (int i = 0; i < 3; ++i) {
        const int left = 81 + 34 * i;
        EXPECT_EQ(surface.get_pixel(left + 11, 199), chart.entries()[i].colour) << i;
        EXPECT_EQ(surface.get_pixel(left, 195), rgb(0, 0, 0)) << i;  // the left side
    }
    EXPECT_EQ(surface.get_pixel(126, 114), rgb(0, 0, 0));        // top of the half bar
    EXPECT_EQ(surface.get_pixel(126, 113), rgb(255, 255, 255));  // above it
    EXPECT_EQ(surface.get_pixel(120, 200), rgb(0, 0, 0));        // horizontal axis
    EXPECT_EQ(surface.get_pixel(15, 100), rgb(0, 0, 0));         // vertical axis
    EXPECT_EQ(surface.get_pixel(239, 319), rgb(255, 255, 255));  // the frame is white

    // A tap reads the screen and finds the bar's entry.
    chart.select_by_colour(surface.get_pixel(115 + 11, 190));
    EXPECT_EQ(chart.selected(), 1);

    // The selected legend row is on the highlight colour.
    const chart_colours c = chart.colours();
    EXPECT_GT(count_of(c.highlight, {0, 220, 240, 235}), 100);
    EXPECT_EQ(count_of(c.highlight, {0, 238, 240, 320}), 0);
    EXPECT_GT(count_of(rgb(220, 220, 220), {0, 238, 240, 253}), 100);
}

TEST_F(chart_pixels, pie_slices_and_the_selection_ring) {
    fill({1, 1});
    chart.draw_pie(surface, {0, 13, 240, 320});
    // Centre (120, 114), radius 91: the first slice covers the lower half.
    EXPECT_EQ(surface.get_pixel(120, 160), chart.entries()[0].colour);
    EXPECT_EQ(surface.get_pixel(120, 70), chart.entries()[1].colour);
    // The selected slice stands in a ring of (200, 200, 255) beyond the radius.
    EXPECT_EQ(surface.get_pixel(120, 114 + 93), rgb(200, 200, 255));
    EXPECT_EQ(surface.get_pixel(120, 114 - 93), rgb(255, 255, 255));
}

TEST_F(chart_pixels, no_data_is_written_in_its_own_colour) {
    chart.draw_line(surface, {0, 13, 240, 320}, true);
    EXPECT_GT(count_of(rgb(100, 100, 200), {0, 13, 240, 215}), 20);
    EXPECT_EQ(count_of(rgb(0, 0, 0), {0, 0, 240, 320}), 0);  // no axes, no legend
}

TEST_F(chart_pixels, saved_bitmap_holds_the_screen_pixels) {
    fill({3, 5});
    chart.draw_columns(surface, {0, 13, 240, 320}, true);
    fs.create_folder(u"\\Output");
    ASSERT_TRUE(chart.save_bitmap(surface, 0, 0, 240, 320, u"\\Output\\Car1[Fuel].bmp"));
    const auto file = fs.bytes(u"\\Output\\Car1[Fuel].bmp");
    ASSERT_EQ(file.size(), 54u + 240u * 320u * 3u);
    // Screen row y is file row 319 - y; bytes blue, green, red.
    for (const point p : {point{120, 199}, point{15, 100}, point{0, 0}, point{239, 319}}) {
        const std::size_t at = 54 + (319 - p.y) * 720 + p.x * 3;
        const colour c = surface.get_pixel(p.x, p.y);
        EXPECT_EQ(file[at], blue_of(c));
        EXPECT_EQ(file[at + 1], green_of(c));
        EXPECT_EQ(file[at + 2], red_of(c));
    }
}

}  // namespace
