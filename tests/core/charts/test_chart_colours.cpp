// The colours of chart entries are worked out without a power per darkening
// step and without a node per colour taken; a chart picture or a tap must
// still find the colours the plain rule gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/charts/chart_engine.h"
#include "core/charts/chart_palette.h"
#include "core/common/text.h"
#include "core/test_services.h"
#include "platform/recording_dc.h"

using namespace kelvane;

namespace {

// The rule as its owner states it: hues a golden angle apart in three
// shades, darkened by 5 % at a time until the luminance keeps a contrast of
// 3 : 1 with white.
colour plain_colour(std::size_t index) {
    const double hue = std::fmod(static_cast<double>(index) * 137.50776405, 360.0);
    const double saturations[] = {0.80, 0.60, 0.95};
    const double values[] = {0.85, 0.70, 0.55};
    const double s = saturations[index % 3];
    const double v = values[(index / 3) % 3];
    const double c = v * s;
    const double x = c * (1 - std::fabs(std::fmod(hue / 60.0, 2.0) - 1));
    const double m = v - c;
    double rgb_of[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    const double* p = rgb_of[static_cast<int>(hue / 60.0) % 6];
    double r = (p[0] + m) * 255, g = (p[1] + m) * 255, b = (p[2] + m) * 255;
    const auto linear = [](double channel) {
        const double u = channel / 255.0;
        return u <= 0.03928 ? u / 12.92 : std::pow((u + 0.055) / 1.055, 2.4);
    };
    for (int step = 0;
         step < 64 && 0.2126 * linear(r) + 0.7152 * linear(g) + 0.0722 * linear(b) > 0.29; ++step)
        r *= 0.95, g *= 0.95, b *= 0.95;
    const auto byte = [](double channel) {
        return std::clamp(static_cast<int>(std::lround(channel)), 1, 254);
    };
    return rgb(byte(r), byte(g), byte(b));
}

TEST(chart_colours, every_entry_of_a_long_chart_gets_the_plain_rules_colour) {
    for (std::size_t i = 0; i < 120000; ++i)
        ASSERT_EQ(chart_entry_colour(i), plain_colour(i)) << "entry " << i;
    for (std::size_t i = 999000; i < 1000000; ++i)
        ASSERT_EQ(chart_entry_colour(i), plain_colour(i)) << "entry " << i;
}

class chart_entry_colours : public ::testing::Test, protected kelvane::testing::test_services {};

TEST_F(chart_entry_colours, taken_colours_move_on_as_each_entry_after_the_other_would_find_them) {
    // Enough entries for the palette to come round to colours taken already,
    // and the same colour searched from again and again. The colours are
    // kept from chart to chart: a shorter chart after a long one, and a
    // longer one after that, still get the colours worked out afresh.
    constexpr int longest = 45000;
    std::vector<colour> expected;
    std::set<colour> used;
    std::map<colour, std::pair<int, colour>> searches;  // where each search stopped
    for (int i = 0; i < longest; ++i) {
        const colour first = chart_entry_colour(static_cast<std::size_t>(i));
        auto& [tries, at] = searches.try_emplace(first, 0, first).first->second;
        for (; tries < 254 && !used.insert(at).second; ++tries)
            at = rgb(red_of(at), green_of(at), blue_of(at) % 254 + 1);
        expected.push_back(at);
    }
    for (const int count : {30000, 200, longest}) {
        chart_engine chart;
        for (int i = 0; i < count; ++i) chart.add_value(format("e%d", i), 1.0, 0, u"", u"");
        chart.set_snap_colours(false);
        recording_dc surface(240, 320);
        chart.prepare_entries(surface);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(chart.entries()[static_cast<std::size_t>(i)].colour,
                      expected[static_cast<std::size_t>(i)])
                << "entry " << i << " of " << count;
    }
}

}  // namespace
