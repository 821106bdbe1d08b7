#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/charts/chart_engine.h"
#include "core/common/messages.h"
#include "core/common/text.h"
#include "core/test_services.h"
#include "core/test_store_support_chart.h"
#include "platform/faulty_file_system.h"
#include "platform/memory_file_system.h"
#include "platform/recording_dc.h"
#include "platform/services.h"

using namespace kelvane;

namespace {

class chart_engine_test : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    chart_engine_test() { clock.set(2024, 5, 15, 10, 30, 0); }
};

std::u16string name_of(const chart_engine::record_type& e) {
    return std::u16string(e.name);
}

TEST_F(chart_engine_test, equal_names_collect_into_one_entry_keeping_the_first_texts) {
    chart_engine t;
    t.add_value(u"12000", 30.0, 0, u"01/05/24", u"Parking");
    t.add_value(u"12500", 5.0, 0, u"02/05/24", u"Toll");
    t.add_value(u"12000", 12.5, 0, u"03/05/24", u"Road tax");
    t.add_value(u"Fuel", 1.0, 0, u"", u"");
    t.add_value(u"fuel", 2.0, 0, u"", u"");  // names compare case-sensitively

    ASSERT_EQ(t.entries().size(), 4u);
    const auto& first = t.entries()[0];
    EXPECT_EQ(name_of(first), u"12000");
    EXPECT_DOUBLE_EQ(first.value, 42.5);
    EXPECT_EQ(std::u16string(first.date_text), u"01/05/24");
    EXPECT_EQ(std::u16string(first.note_text), u"Parking");
    EXPECT_EQ(name_of(t.entries()[1]), u"12500");
    EXPECT_DOUBLE_EQ(t.entries()[2].value, 1.0);
    EXPECT_DOUBLE_EQ(t.entries()[3].value, 2.0);
}

TEST_F(chart_engine_test, long_texts_are_cut_at_the_field_capacity) {
    chart_engine t;
    const std::u16string description(50, u'd');  // a repair description at its longest
    const std::u16string long_name(40, u'n');
    const std::u16string long_date(40, u'7');
    t.add_value(long_name, 1.0, 0, long_date, description);
    // A second value under the same long name still finds its entry.
    t.add_value(long_name, 2.0, 0, u"", u"");

    ASSERT_EQ(t.entries().size(), 1u);
    const auto& e = t.entries()[0];
    EXPECT_EQ(std::u16string(e.note_text), std::u16string(33, u'd'));
    EXPECT_EQ(std::u16string(e.name), std::u16string(30, u'n'));
    EXPECT_EQ(std::u16string(e.date_text), std::u16string(30, u'7'));
    EXPECT_DOUBLE_EQ(e.value, 3.0);

    // A cut never leaves half of a surrogate pair behind.
    std::u16string note(32, u'a');
    note += u"\U0001F697 car";  // the pair would occupy units 33 and 34
    t.add_value(u"x", 1.0, 0, u"", note);
    EXPECT_EQ(std::u16string(t.entries()[1].note_text), std::u16string(32, u'a'));
}

TEST_F(chart_engine_test, every_entry_keeps_its_own_texts_in_a_long_chart_and_after_a_clear) {
    chart_engine t;
    const auto name = [](int i) { return format("%030d", i); };
    // Each chart far longer than one block of the engine's text store; a
    // chart after a clear reuses the blocks of the last, then needs more.
    const int lengths[] = {5000, 1200, 9000};
    for (int round = 0; round < 3; ++round) {
        const int count = lengths[round];
        t.clear_entries();
        for (int i = 0; i < count; ++i)
            t.add_value(name(i), i, 0, format("%d/%d", round, i), format("note %d", i));
        t.add_value(name(0), 1.0, 0, u"", u"");
        ASSERT_EQ(t.entries().size(), static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i) {
            const auto& e = t.entries()[static_cast<std::size_t>(i)];
            ASSERT_EQ(std::u16string(e.name), name(i));
            ASSERT_EQ(std::u16string(e.date_text), format("%d/%d", round, i));
            ASSERT_EQ(std::u16string(e.note_text), format("note %d", i));
        }
        EXPECT_DOUBLE_EQ(t.entries()[0].value, 1.0);
    }
}

TEST_F(chart_engine_test, a_series_handed_over_in_batches_makes_the_entries_of_single_values) {
    // Names that come back within a batch and in later batches.
    chart_engine single, batched;
    // A note lives as long as the batch, as a record's field does.
    std::vector<std::u16string> notes;
    notes.reserve(300);
    {
        chart_value_batch batch(batched);
        for (int i = 0; i < 300; ++i) {
            const std::u16string name = format("%d", i * 7 % 130);
            const std::u16string date = format("%02d/05/24", i % 28 + 1);
            notes.push_back(format("note %d", i));
            single.add_value(name, i, 20240500 + i % 28 + 1, date, notes.back());
            batch.next_name() = name;
            batch.next_date() = date;
            batch.add(i, 20240500 + i % 28 + 1, notes.back());
        }
    }
    ASSERT_EQ(single.entries().size(), 130u);
    ASSERT_EQ(batched.entries().size(), single.entries().size());
    for (std::size_t i = 0; i < single.entries().size(); ++i) {
        const auto& a = single.entries()[i];
        const auto& b = batched.entries()[i];
        EXPECT_EQ(name_of(a), name_of(b));
        EXPECT_EQ(a.value, b.value) << "entry " << i;
        EXPECT_EQ(a.day, b.day) << "entry " << i;
        EXPECT_EQ(std::u16string(a.date_text), std::u16string(b.date_text)) << "entry " << i;
        EXPECT_EQ(std::u16string(a.note_text), std::u16string(b.note_text)) << "entry " << i;
    }
}

// A record's date reaches the engine as its day and is written only when
// shown; it must read as the text a sink that takes written dates gets, in
// every date order, and a date no calendar has as the record holds it.
TEST_F(chart_engine_test, a_dated_series_shows_the_dates_a_written_series_has) {
    struct dated {
        int year, month, day;
    };
    const dated days[] = {{2007, 3, 1}, {1999, 12, 31}, {2024, 2, 29}, {2007, 13, 40}, {0, 1, 1}};
    // Month first, day first, day first with dots, year first.
    for (const std::uint16_t language :
         {std::uint16_t{1033}, std::uint16_t{12}, std::uint16_t{1031}, std::uint16_t{2052}}) {
        SCOPED_TRACE(language);
        chart_engine engine;
        kelvane::testing::recorded_chart written;
        for (chart_sink* sink :
             {static_cast<chart_sink*>(&engine), static_cast<chart_sink*>(&written)}) {
            chart_value_batch batch(*sink);
            int n = 0;
            for (const dated& d : days) {
                batch.next_name() = format("%d", ++n);
                batch.add_dated(n, language, d.year, d.month, d.day, u"");
            }
        }
        ASSERT_EQ(engine.entries().size(), std::size(days));
        ASSERT_EQ(written.entries.size(), std::size(days));
        for (std::size_t i = 0; i < std::size(days); ++i) {
            std::u16string expected;
            append_date(expected, language, days[i].year, days[i].month, days[i].day, false);
            EXPECT_EQ(written.entries[i].date_text, expected);
            EXPECT_EQ(engine.entries()[i].shown_date(), expected);
        }
    }
}

TEST_F(chart_engine_test, a_day_noted_again_after_the_span_was_set_widens_it_again) {
    chart_engine t;
    t.note_date(2020, 3, 1);
    const std::int64_t widened = t.earliest();
    t.set_earliest(to_local_seconds(2024, 1, 1, 0, 0, 0));
    t.note_date(2020, 3, 1);
    EXPECT_EQ(t.earliest(), widened);
}

TEST_F(chart_engine_test, date_span_starts_at_today_and_only_widens) {
    chart_engine t;
    EXPECT_EQ(t.earliest(), to_local_seconds(2024, 5, 15, 0, 0, 0));
    EXPECT_EQ(t.latest(), to_local_seconds(2024, 5, 15, 23, 59, 59));

    t.note_date(2024, 5, 15);  // inside today's span: nothing moves
    EXPECT_EQ(t.earliest(), to_local_seconds(2024, 5, 15, 0, 0, 0));
    t.note_date(2023, 2, 1);
    t.note_date(2024, 7, 9);
    t.note_date(2023, 6, 1);
    EXPECT_EQ(t.earliest(), to_local_seconds(2023, 2, 1, 1, 1, 1));
    EXPECT_EQ(t.latest(), to_local_seconds(2024, 7, 9, 1, 1, 1));

    t.add_value(u"a", 1.0, 0, u"", u"");
    t.clear_entries();
    EXPECT_TRUE(t.entries().empty());
    EXPECT_EQ(t.earliest(), to_local_seconds(2023, 2, 1, 1, 1, 1));
    EXPECT_EQ(t.latest(), to_local_seconds(2024, 7, 9, 1, 1, 1));
}

TEST_F(chart_engine_test, shares_of_maximum_and_total) {
    chart_engine t;
    t.add_value(u"a", 2.0, 0, u"", u"");
    t.add_value(u"b", 0.0, 0, u"", u"");
    t.add_value(u"c", 4.0, 0, u"", u"");
    t.add_value(u"d", 2.0, 0, u"", u"");
    recording_dc surface(240, 320);
    t.prepare_entries(surface);

    EXPECT_DOUBLE_EQ(t.max_value(), 4.0);
    EXPECT_DOUBLE_EQ(t.total_value(), 8.0);
    const auto& e = t.entries();
    EXPECT_DOUBLE_EQ(e[0].share_of_max, 0.5);
    EXPECT_DOUBLE_EQ(e[0].share_of_total, 0.25);
    EXPECT_DOUBLE_EQ(e[1].share_of_max, 0.0);
    EXPECT_DOUBLE_EQ(e[1].share_of_total, 0.0);
    EXPECT_DOUBLE_EQ(e[2].share_of_max, 1.0);
    EXPECT_DOUBLE_EQ(e[2].share_of_total, 0.5);
}

TEST_F(chart_engine_test,
       values_without_positive_maximum_or_total_get_no_share_instead_of_infinity) {
    // Negative costs can be typed in; a refund that cancels a cost gives a
    // total of 0 and only negative values give a maximum of 0.
    chart_engine t;
    t.add_value(u"a", 5.0, 0, u"", u"");
    t.add_value(u"b", -5.0, 0, u"", u"");
    recording_dc surface(240, 320);
    t.prepare_entries(surface);
    EXPECT_DOUBLE_EQ(t.total_value(), 0.0);
    EXPECT_DOUBLE_EQ(t.entries()[0].share_of_total, 0.0);
    EXPECT_DOUBLE_EQ(t.entries()[1].share_of_total, 0.0);
    EXPECT_DOUBLE_EQ(t.entries()[1].share_of_max, -1.0);

    t.clear_entries();
    t.add_value(u"a", -3.0, 0, u"", u"");
    t.prepare_entries(surface);
    EXPECT_DOUBLE_EQ(t.max_value(), 0.0);
    EXPECT_DOUBLE_EQ(t.entries()[0].share_of_max, 0.0);
    EXPECT_DOUBLE_EQ(t.entries()[0].share_of_total, 1.0);
}

TEST_F(chart_engine_test, colours_are_what_the_display_shows_and_the_pixel_is_put_back) {
    chart_engine t;
    for (int i = 0; i < 20; ++i) t.add_value(std::u16string(1, u'a' + i), i, 0, u"", u"");
    recording_dc surface(240, 320, pixel_depth::rgb565);
    surface.set_pixel(1, 1, rgb(8, 16, 24));
    const colour before = surface.get_pixel(1, 1);
    t.prepare_entries(surface);

    bool any_snapped = false;
    for (const auto& e : t.entries()) {
        EXPECT_EQ(e.colour, surface.shown(e.colour));
        EXPECT_NE(e.colour, rgb(255, 255, 255));
        if (e.colour != 0) any_snapped = true;
    }
    EXPECT_TRUE(any_snapped);
    EXPECT_EQ(surface.get_pixel(1, 1), before);

    // Without snapping the computed colours stay, each channel below 255.
    t.set_snap_colours(false);
    t.prepare_entries(surface);
    for (const auto& e : t.entries()) {
        EXPECT_LT(red_of(e.colour), 255);
        EXPECT_LT(green_of(e.colour), 255);
        EXPECT_LT(blue_of(e.colour), 255);
    }

    // A surface too small to hold the probe pixel keeps the computed colours.
    t.set_snap_colours(true);
    recording_dc tiny(1, 1);
    t.prepare_entries(tiny);
    for (const auto& e : t.entries()) EXPECT_NE(e.colour, invalid_colour);
}

// The contrast of a colour against white, as the accessibility guides count it.
double contrast_with_white(colour c) {
    auto lin = [](int v) {
        const double x = v / 255.0;
        return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    const double l = 0.2126 * lin(red_of(c)) + 0.7152 * lin(green_of(c)) + 0.0722 * lin(blue_of(c));
    return 1.05 / (l + 0.05);
}

TEST_F(chart_engine_test,
       every_entry_has_its_own_colour_that_stands_out_on_white_and_from_its_neighbour) {
    chart_engine t;
    for (int i = 0; i < 400; ++i) t.add_value(format("entry %d", i), i + 1, 0, u"", u"");
    recording_dc surface(240, 320);
    t.prepare_entries(surface);
    std::set<colour> seen;
    const auto& entries = t.entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const colour c = entries[i].colour;
        EXPECT_TRUE(seen.insert(c).second) << "entry " << i << " shares its colour";
        EXPECT_NE(c, rgb(0, 0, 0)) << "black is the outline, a tap ignores it";
        EXPECT_GE(contrast_with_white(c), 3.0) << "entry " << i;
        if (i > 0) {
            const colour p = entries[i - 1].colour;
            const int distance = std::abs(red_of(c) - red_of(p)) +
                                 std::abs(green_of(c) - green_of(p)) +
                                 std::abs(blue_of(c) - blue_of(p));
            EXPECT_GE(distance, 90) << "entries " << i - 1 << " and " << i << " look alike";
        }
    }
}

TEST_F(chart_engine_test, selection_stops_at_both_ends) {
    chart_engine t;
    EXPECT_FALSE(t.select_next());  // no entries
    EXPECT_FALSE(t.select_previous());
    t.add_value(u"a", 1, 0, u"", u"");
    t.add_value(u"b", 1, 0, u"", u"");
    EXPECT_TRUE(t.select_next());
    EXPECT_EQ(t.selected(), 1);
    EXPECT_FALSE(t.select_next());
    EXPECT_EQ(t.selected(), 1);
    EXPECT_TRUE(t.select_previous());
    EXPECT_FALSE(t.select_previous());
    EXPECT_EQ(t.selected(), 0);
    EXPECT_EQ(t.first_visible(), 0);
}

TEST_F(chart_engine_test, a_tapped_colour_selects_its_entry) {
    chart_engine t;
    for (int i = 0; i < 6; ++i) t.add_value(std::u16string(1, u'a' + i), i + 1, 0, u"", u"");
    recording_dc surface(240, 320, pixel_depth::rgb565);
    t.prepare_entries(surface);
    t.draw_columns(surface, {0, 13, 240, 320}, true);

    // Tap into the fourth bar, as the chart screen does, through the pixel under the pen.
    rect bar;
    for (const auto& c : surface.calls_of(dc_op::fill_rect))
        if (c.c == t.entries()[3].colour && c.r.bottom == 200) bar = c.r;
    ASSERT_GT(bar.width(), 0);
    t.select_by_colour(surface.get_pixel(bar.left + 2, bar.bottom - 2));
    EXPECT_EQ(t.selected(), 3);

    t.select_by_colour(rgb(255, 255, 255));  // white space changes nothing
    EXPECT_EQ(t.selected(), 3);
}

// The 54 header bytes, written out by hand.
std::vector<std::uint8_t> bitmap_header(std::uint32_t width, std::uint32_t height,
                                        std::uint32_t image_size) {
    auto le32 = [](std::vector<std::uint8_t>& v, std::uint32_t x) {
        for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
    };
    std::vector<std::uint8_t> h = {'B', 'M'};
    le32(h, 54 + image_size);
    le32(h, 0);  // two reserved 16-bit fields
    le32(h, 54);
    le32(h, 40);
    le32(h, width);
    le32(h, height);
    h.insert(h.end(), {1, 0, 24, 0});
    le32(h, 0);
    le32(h, image_size);
    for (int i = 0; i < 4; ++i) le32(h, 0);
    return h;
}

TEST_F(chart_engine_test, bitmap_of_a_whole_screen) {
    fs.create_folder(u"\\Output");
    recording_dc surface(240, 320);
    chart_engine t;
    ASSERT_TRUE(t.save_bitmap(surface, 0, 0, 240, 320, u"\\Output\\chart.bmp"));
    const auto file = fs.bytes(u"\\Output\\chart.bmp");
    ASSERT_EQ(file.size(), 54u + 240u * 320u * 3u);
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 54),
              bitmap_header(240, 320, 240 * 320 * 3));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(chart_engine_test, bitmap_rows_are_bottom_up_blue_green_red_and_padded) {
    fs.create_folder(u"\\Output");
    recording_dc surface(10, 10);
    // A 3 x 2 block at (4, 5): top row red, green, blue; bottom row black, grey, white.
    surface.set_pixel(4, 5, rgb(255, 0, 0));
    surface.set_pixel(5, 5, rgb(0, 255, 0));
    surface.set_pixel(6, 5, rgb(0, 0, 255));
    surface.set_pixel(4, 6, rgb(0, 0, 0));
    surface.set_pixel(5, 6, rgb(1, 2, 3));
    chart_engine t;
    ASSERT_TRUE(t.save_bitmap(surface, 4, 5, 3, 2, u"\\Output\\small.bmp"));

    auto expected = bitmap_header(3, 2, 24);  // rows of 9 bytes padded to 12
    const std::vector<std::uint8_t> pixels = {
        0, 0, 0,   3, 2,   1, 255, 255, 255, 0, 0, 0,  // bottom screen row first
        0, 0, 255, 0, 255, 0, 255, 0,   0,   0, 0, 0,
    };
    expected.insert(expected.end(), pixels.begin(), pixels.end());
    EXPECT_EQ(fs.bytes(u"\\Output\\small.bmp"), expected);
}

TEST_F(chart_engine_test, bitmap_pixels_outside_the_surface_are_white) {
    recording_dc surface(2, 1);
    surface.fill_rect({0, 0, 2, 1}, rgb(0, 0, 0));
    chart_engine t;
    ASSERT_TRUE(t.save_bitmap(surface, 1, 0, 4, 1, u"\\edge.bmp"));
    const auto file = fs.bytes(u"\\edge.bmp");
    ASSERT_EQ(file.size(), 54u + 12u);
    const std::vector<std::uint8_t> row(file.begin() + 54, file.end());
    EXPECT_EQ(row,
              (std::vector<std::uint8_t>{0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255, 255}));
}

TEST_F(chart_engine_test, bitmap_that_cannot_be_written_is_reported_and_leaves_the_old_file) {
    fs.create_folder(u"\\Output");
    fs.put(u"\\Output\\chart.bmp", {1, 2, 3});
    faulty_file_system faulty(fs);
    scoped_services use_faulty{{&faulty}};
    recording_dc surface(240, 320);
    chart_engine t;

    faulty.fail_open(1);
    EXPECT_FALSE(t.save_bitmap(surface, 0, 0, 240, 320, u"\\Output\\chart.bmp"));
    faulty.fail_open(0);
    faulty.fail_write(1);
    EXPECT_FALSE(t.save_bitmap(surface, 0, 0, 240, 320, u"\\Output\\chart.bmp"));
    faulty.fail_write(0);
    EXPECT_FALSE(t.save_bitmap(surface, 0, 0, 240, 320, u"\\Missing folder\\chart.bmp"));
    EXPECT_FALSE(t.save_bitmap(surface, 0, 0, 0, 320, u"\\Output\\empty.bmp"));

    EXPECT_EQ(fs.bytes(u"\\Output\\chart.bmp"), (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(fs.file_exists(u"\\Output\\empty.bmp"));
    EXPECT_EQ(boxes.texts(), std::vector<std::u16string>(4, msg_write_failed));
}

}  // namespace
