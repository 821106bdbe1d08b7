#include <gtest/gtest.h>

#include <vector>

#include "core/charts/chart_engine.h"
#include "core/charts/chart_page.h"
#include "core/common/translate.h"
#include "core/test_services.h"
#include "platform/memory_file_system.h"
#include "platform/recording_dc.h"
#include "platform/services.h"

using namespace kelvane;

namespace {

// A 240 x 320 screen below the chart screen's 13-pixel title row: the chart
// area is (0, 13)-(240, 215), its axis at y = 200, the legend from y = 220.
constexpr rect screen_chart{0, 13, 240, 320};
constexpr int axis_y = 200;
constexpr int axis_height = 172;  // from y = 28 down to the axis

class chart_drawing : public ::testing::Test, protected kelvane::testing::test_services {
protected:
    // Entries "a", "b", ... with the given values, prepared on the surface.
    void fill(const std::vector<double>& values) {
        chart.clear_entries();
        for (std::size_t i = 0; i < values.size(); ++i)
            chart.add_value(std::u16string(1, static_cast<char16_t>(u'a' + i)), values[i], 0, u"",
                            u"");
        chart.prepare_entries(surface);
        surface.clear_calls();
    }
    void fill_count(int n) {
        std::vector<double> v;
        for (int i = 1; i <= n; ++i) v.push_back(i);
        fill(v);
    }
    // The bars: fills standing on the axis in an entry's colour.
    std::vector<rect> bars() const {
        std::vector<rect> out;
        for (const auto& c : surface.calls_of(dc_op::fill_rect))
            if (c.r.bottom == axis_y && c.c != rgb(255, 255, 255)) out.push_back(c.r);
        return out;
    }
    // The 5 x 5 squares of the line chart.
    std::vector<rect> squares() const {
        std::vector<rect> out;
        for (const auto& c : surface.calls_of(dc_op::fill_rect))
            if (c.r.width() == 5 && c.r.height() == 5) out.push_back(c.r);
        return out;
    }
    std::vector<dc_call> draw_texts() const { return surface.calls_of(dc_op::draw_text); }

    // The chart screen draws in a 15-pixel font on the handheld's screen.
    chart_drawing() { surface.select_font({u"System", 15}); }

    recording_dc surface{480, 320};
    chart_engine chart;
};

// Text as wide as its font is high, half of it per character, so that a
// smaller font really makes a figure narrower.
class font_sized_dc : public recording_dc {
public:
    using recording_dc::recording_dc;
    size text_extent(std::u16string_view text) override {
        (void)recording_dc::text_extent(text);
        const int h = state().font.pixel_height;
        return {static_cast<int>(text.size()) * h / 2, h};
    }
};

TEST_F(chart_drawing, ten_fixed_columns_overflow_and_selecting_past_the_last_scrolls) {
    fill_count(10);
    chart.draw_columns(surface, screen_chart, false);

    // Gaps of 12 and bars of 22 from x = 15: the seventh bar would end at 253,
    // beyond the plot's end at 225, so six are drawn.
    const auto drawn = bars();
    ASSERT_EQ(drawn.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(drawn[i].left, 27 + 34 * i);
        EXPECT_EQ(drawn[i].width(), 22);
    }
    EXPECT_EQ(drawn[0].top, axis_y - 17);   // 172 x 0.1 = 17.2
    EXPECT_EQ(drawn[5].top, axis_y - 103);  // 172 x 0.6 = 103.2
    EXPECT_EQ(chart.last_drawn(), 5);

    for (int i = 0; i < 5; ++i) ASSERT_TRUE(chart.select_next());
    EXPECT_EQ(chart.first_visible(), 0);
    ASSERT_TRUE(chart.select_next());  // to entry 6, not drawn: scroll one place
    EXPECT_EQ(chart.selected(), 6);
    EXPECT_EQ(chart.first_visible(), 1);

    surface.clear_calls();
    chart.draw_columns(surface, screen_chart, false);
    const auto scrolled = bars();
    ASSERT_EQ(scrolled.size(), 6u);
    EXPECT_EQ(scrolled[0].top, axis_y - 34);  // entry 1 now stands first
    EXPECT_EQ(chart.last_drawn(), 6);

    // Going back scrolls only when the selection passes the first shown entry.
    for (int i = 0; i < 5; ++i) chart.select_previous();
    EXPECT_EQ(chart.first_visible(), 1);
    chart.select_previous();
    EXPECT_EQ(chart.selected(), 0);
    EXPECT_EQ(chart.first_visible(), 0);
}

TEST_F(chart_drawing, fitted_columns_share_the_plot_width) {
    fill_count(10);
    chart.draw_columns(surface, screen_chart, true);
    const auto drawn = bars();
    ASSERT_EQ(drawn.size(), 10u);  // 210 / 10 = 21: gap 7, bar 14
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(drawn[i].left, 22 + 21 * i);
        EXPECT_EQ(drawn[i].width(), 14);
    }
    EXPECT_EQ(chart.last_drawn(), 9);

    // Two entries: gap and bar reach their limits (10 and 30) and stand centred.
    fill({1, 2});
    chart.draw_columns(surface, screen_chart, true);
    const auto two = bars();
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], (rect{90, axis_y - 86, 120, axis_y}));
    EXPECT_EQ(two[1], (rect{130, axis_y - axis_height, 160, axis_y}));
}

TEST_F(chart_drawing, axes_and_the_selection_marker_of_columns) {
    fill({2, 4});
    chart.draw_columns(surface, screen_chart, false);
    chart.select_next();
    surface.clear_calls();
    chart.draw_columns(surface, screen_chart, false);

    std::vector<std::pair<point, point>> lines;
    point at;
    for (const auto& c : surface.calls()) {
        if (c.op == dc_op::move_to) at = c.points[0];
        if (c.op == dc_op::line_to) {
            lines.push_back({at, c.points[0]});
            at = c.points[0];
        }
    }
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], std::make_pair(point{10, 200}, point{230, 200}));
    EXPECT_EQ(lines[1], std::make_pair(point{15, 23}, point{15, 205}));
    EXPECT_EQ(lines[2], std::make_pair(point{10, 28}, point{15, 28}));
    EXPECT_EQ(lines[3], std::make_pair(point{15, 114}, point{10, 114}));

    const auto polygons = surface.calls_of(dc_op::polygon);
    ASSERT_EQ(polygons.size(), 1u);
    const auto& marker = polygons[0];
    ASSERT_EQ(bars().size(), 2u);
    const rect bar = bars()[1];
    EXPECT_EQ(marker.points, (std::vector<point>{{bar.left, bar.top - 15},
                                                 {bar.right, bar.top - 15},
                                                 {bar.left + 11, bar.top - 4}}));
    EXPECT_EQ(marker.state.pen, (pen_request{pen_style::solid, 2, rgb(100, 100, 100)}));
    EXPECT_EQ(marker.state.brush, rgb(200, 200, 255));
    EXPECT_EQ(surface.state().pen, pen_request{});  // pen and brush are put back
    EXPECT_EQ(surface.state().brush, rgb(255, 255, 255));
}

TEST_F(chart_drawing, zero_values_sit_on_the_axis) {
    fill({0, 0, 0});
    chart.draw_columns(surface, screen_chart, false);
    for (const rect& b : bars()) EXPECT_EQ(b.top, axis_y);
    surface.clear_calls();
    chart.draw_line(surface, screen_chart, false);
    const auto pts = squares();
    ASSERT_EQ(pts.size(), 3u);
    for (const rect& p : pts) EXPECT_EQ(p.top, axis_y);
}

TEST_F(chart_drawing, line_points_step_and_connect_their_centres) {
    fill_count(10);
    chart.draw_line(surface, screen_chart, false);
    // Steps of 35 from x = 15 leave room for five squares before x = 225.
    const auto pts = squares();
    ASSERT_EQ(pts.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(pts[i].left, 50 + 40 * i);
    EXPECT_EQ(pts[1].top, axis_y - 34);
    EXPECT_EQ(chart.last_drawn(), 4);

    // The connecting line runs through the square centres and is drawn first.
    const auto& calls = surface.calls();
    std::size_t first_square = 0;
    while (first_square < calls.size() &&
           !(calls[first_square].op == dc_op::fill_rect && calls[first_square].r == pts[0]))
        ++first_square;
    std::vector<point> path;
    for (std::size_t i = 0; i < first_square; ++i)
        if (calls[i].op == dc_op::move_to || calls[i].op == dc_op::line_to)
            path.push_back(calls[i].points[0]);
    ASSERT_GE(path.size(), 5u);
    const std::vector<point> centres(path.end() - 5, path.end());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(centres[i], (point{pts[i].left + 2, pts[i].top + 2}));

    // Fitted: 210 / 10 x 0.825 = 17 between squares; the tenth would end at
    // 235, past the plot, and comes into view by scrolling.
    fill_count(10);
    chart.draw_line(surface, screen_chart, true);
    ASSERT_EQ(squares().size(), 9u);
    EXPECT_EQ(squares()[0].left, 32);
    EXPECT_EQ(squares()[8].left, 208);
    EXPECT_EQ(chart.last_drawn(), 8);
}

TEST_F(chart_drawing, pie_slices_run_clockwise_from_three_o_clock) {
    fill({1, 3});
    chart.select_next();
    chart.draw_pie(surface, screen_chart);
    // Chart area 240 x 202: centre (120, 114), radius 101 - 10 = 91.
    const auto polygons = surface.calls_of(dc_op::polygon);
    ASSERT_EQ(polygons.size(), 4u);  // slice a; for b its ring, the white cut-out, the slice
    for (const auto& p : polygons) {
        ASSERT_EQ(p.points.size(), 31u);
        EXPECT_EQ(p.points[0], (point{120, 114}));
        EXPECT_EQ(p.state.pen, (pen_request{pen_style::solid, 1, rgb(0, 0, 0)}));
    }
    EXPECT_EQ(polygons[0].points[1], (point{211, 114}));
    EXPECT_EQ(polygons[0].points[30], (point{120, 204}));  // a quarter turn down
    EXPECT_EQ(polygons[0].state.brush, chart.entries()[0].colour);

    EXPECT_EQ(polygons[1].state.brush, rgb(200, 200, 255));
    EXPECT_EQ(polygons[1].points[1], (point{120, 208}));  // radius 95 for the ring
    EXPECT_EQ(polygons[2].state.brush, rgb(255, 255, 255));
    EXPECT_EQ(polygons[3].state.brush, chart.entries()[1].colour);
    EXPECT_EQ(polygons[3].points[1], (point{120, 204}));
}

TEST_F(chart_drawing, single_entry_pie_closes_a_hairline_short) {
    fill({5});
    chart.draw_pie(surface, screen_chart);
    const auto polygons = surface.calls_of(dc_op::polygon);
    ASSERT_EQ(polygons.size(), 3u);
    // 6.28 radians is 0.0032 short of a full turn: the last point lies at
    // 91 x cos(6.28) = 90.9995, one pixel inside the first.
    EXPECT_EQ(polygons[2].points[1], (point{211, 114}));
    EXPECT_EQ(polygons[2].points[30], (point{210, 114}));
}

TEST_F(chart_drawing, all_zero_pie_collapses_to_one_radius) {
    fill({0, 0, 0});
    chart.draw_pie(surface, screen_chart);
    const auto polygons = surface.calls_of(dc_op::polygon);
    ASSERT_EQ(polygons.size(), 5u);
    for (const auto& p : polygons)
        for (std::size_t k = 1; k < p.points.size(); ++k) EXPECT_EQ(p.points[k], p.points[1]);
    EXPECT_EQ(polygons[0].points[1], (point{215, 114}));  // the selection ring, radius 95
    EXPECT_EQ(polygons[4].points[1], (point{211, 114}));
}

TEST_F(chart_drawing, legend_shows_five_rows_from_the_selection) {
    fill_count(7);
    chart.draw_columns(surface, screen_chart, false);
    auto names = [&] {
        std::vector<std::u16string> out;
        for (const auto& t : draw_texts())
            if (t.flags & dt_end_ellipsis && !(t.flags & dt_center)) out.push_back(t.text);
        return out;
    };
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e"}));

    for (int i = 0; i < 5; ++i) chart.select_next();
    surface.clear_calls();
    chart.draw_columns(surface, screen_chart, false);
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"f", u"g"}));

    chart.select_next();
    surface.clear_calls();
    chart.draw_columns(surface, screen_chart, false);
    EXPECT_EQ(names(), (std::vector<std::u16string>{u"g"}));
}

TEST_F(chart_drawing, legend_cells_texts_and_highlight) {
    chart_colours colours{rgb(10, 36, 106), rgb(250, 250, 250)};
    chart.set_colours(colours);
    chart.add_value(u"12000", 30, 0, u"01/05/24", u"Parking");
    chart.add_value(u"12500", 10, 0, u"02/05/24", u"Toll");
    chart.prepare_entries(surface);
    chart.set_legend_format(u"MNVD");
    surface.clear_calls();
    chart.draw_line(surface, screen_chart, false);

    const auto texts = draw_texts();
    ASSERT_EQ(texts.size(), 8u);
    // Cells are cut from the right, last code first: D, V, N, then M.
    // Inner row (5, 220)-(235, 235), 230 wide: D 50 (widened to the date's
    // 48 pixels and a margin), V 26 % = 59, the mileage as wide as its text,
    // and the note all that is left.
    EXPECT_EQ(texts[0].text, u"01/05/24");
    EXPECT_EQ(texts[0].r, (rect{183, 220, 235, 235}));
    EXPECT_EQ(texts[1].text, u"30.00");
    EXPECT_EQ(texts[1].r, (rect{122, 220, 181, 235}));
    EXPECT_EQ(texts[2].text, u"Parking");
    EXPECT_EQ(texts[2].r, (rect{57, 220, 120, 235}));
    EXPECT_EQ(texts[2].flags, unsigned(dt_center | dt_vcenter | dt_singleline | dt_end_ellipsis));
    EXPECT_EQ(texts[3].text, u"12000");
    EXPECT_EQ(texts[3].r, (rect{21, 220, 55, 235}));
    EXPECT_EQ(texts[3].flags, unsigned(dt_center | dt_vcenter | dt_singleline))
        << "a mileage is a figure, never cut";
    EXPECT_EQ(texts[1].flags, unsigned(dt_center | dt_vcenter | dt_singleline));
    EXPECT_EQ(texts[7].text, u"12500");
    EXPECT_EQ(texts[7].r.top, 238);  // rows repeat every 18 pixels

    // The selected row is written in the highlight colours, every cell of it
    // on the highlight, the name included; other rows black on grey.
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(texts[i].state.text, colours.highlight_text);
        EXPECT_EQ(texts[i].state.mode, background_mode::transparent);
    }
    for (int i = 4; i < 8; ++i) EXPECT_EQ(texts[i].state.text, rgb(0, 0, 0));
    auto fill_under = [&](const rect& r) {
        colour c = 0;
        for (const auto& f : surface.calls_of(dc_op::fill_rect))
            if (f.r == r) c = f.c;
        return c;
    };
    EXPECT_EQ(fill_under(texts[3].r), colours.highlight);
    EXPECT_EQ(fill_under(texts[0].r), colours.highlight);
    EXPECT_EQ(fill_under(texts[7].r), rgb(220, 220, 220));
    EXPECT_EQ(fill_under(rect{5, 220, 19, 235}), chart.entries()[0].colour);  // the swatch
    EXPECT_EQ(surface.state().text, rgb(0, 0, 0));
    EXPECT_EQ(surface.state().mode, background_mode::opaque);
}

TEST_F(chart_drawing, shares_and_unknown_codes_in_the_legend) {
    fill({1, 3});
    chart.set_legend_format(u"MQZXV");
    chart.draw_pie(surface, screen_chart);
    std::vector<std::u16string> first_row;
    for (const auto& t : draw_texts())
        if (t.r.top == 220) first_row.push_back(t.text);
    EXPECT_EQ(first_row, (std::vector<std::u16string>{u"1.00", u"33.33%", u"25.00%", u"a"}));
}

class english_to_french : public text_translator {
public:
    std::u16string translate(std::u16string_view key) const override {
        return key == u"No data" ? u"Aucune donnée" : std::u16string(key);
    }
    std::u16string reverse_translate(std::u16string_view text) const override {
        return std::u16string(text);
    }
};

TEST_F(chart_drawing, no_data_draws_only_the_translated_notice) {
    english_to_french french;
    scoped_translator use_french(&french);
    for (int kind = 0; kind < 3; ++kind) {
        surface.clear_calls();
        chart.set_chart_type(static_cast<chart_kind>(kind));
        chart.draw(surface, screen_chart, true);
        const auto texts = draw_texts();
        ASSERT_EQ(texts.size(), 1u);
        EXPECT_EQ(texts[0].text, u"Aucune donnée");
        EXPECT_EQ(texts[0].r, (rect{0, 13, 240, 215}));
        EXPECT_EQ(texts[0].flags, unsigned(dt_center | dt_vcenter | dt_singleline));
        EXPECT_EQ(texts[0].state.text, rgb(100, 100, 200));
        EXPECT_EQ(surface.state().text, rgb(0, 0, 0));
        EXPECT_TRUE(surface.calls_of(dc_op::line_to).empty());
        EXPECT_TRUE(surface.calls_of(dc_op::polygon).empty());
        EXPECT_EQ(surface.calls_of(dc_op::fill_rect).size(), 1u);  // the white frame
    }
}

TEST_F(chart_drawing, wide_screen_keeps_a_centred_chart_of_handheld_width) {
    fill({1, 2});
    chart.draw_columns(surface, {0, 13, 480, 320}, false);
    const auto lines = surface.calls_of(dc_op::line_to);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0].state.position, (point{90, 200}));  // axis of the 320-pixel area at 80
    EXPECT_EQ(lines[0].points[0], (point{390, 200}));
    const auto texts = draw_texts();
    ASSERT_FALSE(texts.empty());
    // The legend below takes the whole width, inside margins of 5.
    EXPECT_EQ(texts.back().r.left, 21);
    EXPECT_EQ(surface.calls_of(dc_op::fill_rect)[0].r, (rect{0, 13, 480, 320}));
    for (const auto& t : texts) {
        EXPECT_GE(t.r.left, 5);
        EXPECT_LE(t.r.right, 475);
    }
}

TEST_F(chart_drawing, short_screen_draws_only_the_legend_rows_that_fit) {
    fill_count(8);
    chart.draw_columns(surface, {0, 13, 240, 240}, false);  // a square screen
    int rows = 0;
    for (const auto& t : draw_texts())
        if (t.flags & dt_end_ellipsis && !(t.flags & dt_center)) {
            ++rows;
            EXPECT_LE(t.r.bottom, 240);
            EXPECT_GT(t.r.height(), 0);
        }
    EXPECT_EQ(rows, 4);
}

TEST_F(chart_drawing, legend_figures_and_dates_are_written_whole_and_the_name_gives_way) {
    // What a pie of all expenses and a fees chart show on the handheld, then
    // the same legends in the larger font of a 480 x 640 screen, in a row
    // kept to the handheld's width.
    for (const int font : {15, 28}) {
        font_sized_dc d{480, 640};
        d.select_font({u"System", font});
        chart.clear_entries();
        chart.add_value(u"Fuel and every other running cost", 14977.98, 0, u"11/02/26",
                        u"Brake pads front");
        chart.add_value(u"Repair", 8989.81, 0, u"12/12/26", u"Parking");
        chart.prepare_entries(d);
        for (std::u16string_view format : {u"MZV", u"MNVD"}) {
            SCOPED_TRACE(font);
            chart.set_legend_format(format);
            d.clear_calls();
            chart.draw_pie(d, {80, 13, 400, 320});
            bool figures = false;
            for (const auto& t : d.calls_of(dc_op::draw_text)) {
                const bool name_or_note = t.flags & dt_end_ellipsis;
                if (name_or_note) continue;
                figures = true;
                const int needed = static_cast<int>(t.text.size()) * t.state.font.pixel_height / 2;
                EXPECT_GE(t.r.width(), needed)
                    << "cut: " << std::string(t.text.begin(), t.text.end());
                EXPECT_GE(t.r.left, 80) << "inside the legend's row";
                EXPECT_LE(t.r.right, 400);
            }
            EXPECT_TRUE(figures);
        }
    }
}

TEST_F(chart_drawing, title_stops_short_of_the_buttons_and_is_never_cut_in_height) {
    fill({1, 2});
    font_sized_dc d{240, 320};
    draw_chart_page(chart, d, {0, 0, 240, 320}, false, u"Corolla 22000-27000 trip", 20, 200);
    const auto texts = d.calls_of(dc_op::draw_text);
    ASSERT_FALSE(texts.empty());
    const dc_call& title = texts[0];
    EXPECT_EQ(u"Corolla 22000-27000 trip", title.text);
    EXPECT_LE(title.r.right, 200);
    EXPECT_GE(title.r.height(), title.state.font.pixel_height) << "a whole line high";
    EXPECT_TRUE(title.flags & dt_end_ellipsis ||
                static_cast<int>(title.text.size()) * title.state.font.pixel_height / 2 <=
                    title.r.width());
}

TEST_F(chart_drawing, page_with_title_row_and_chart_below) {
    fill({1, 2});
    chart.set_chart_type(chart_kind::columns);
    draw_chart_page(chart, surface, {0, 0, 240, 320}, false, u"Fees cost analysis", 15);
    const auto texts = draw_texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0].text, u"Fees cost analysis");
    EXPECT_EQ(texts[0].r, (rect{5, 0, 240, 13}));
    EXPECT_EQ(texts[0].state.font, (font_request{u"System", 15, 400}));
    EXPECT_EQ(bars().size(), 2u);  // the same chart as below a 13-pixel row
    EXPECT_EQ(surface.state().font, (font_request{u"System", 15})) << "the caller's font back";

    surface.clear_calls();
    draw_chart_page(chart, surface, {0, 0, 240, 320}, false, u"", 15);
    EXPECT_EQ(bars().size(), 2u);
    for (const auto& t : draw_texts()) EXPECT_GE(t.r.top, 220);  // only the legend

    EXPECT_EQ(chart_font_request(240), 15);
    EXPECT_EQ(chart_font_request(320), 14);
}

}  // namespace
