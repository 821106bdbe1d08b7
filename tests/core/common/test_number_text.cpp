// Numbers and dates written without printf must read exactly as printf
// writes them: the export files, the lists and the chart legends were
// written that way, and files compared before and after must not differ.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "core/common/number_text.h"
#include "core/common/text.h"

namespace kelvane {
namespace {

TEST(number_text, decimals_read_as_printf_writes_them_rounding_included) {
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  -0.5,
                                  0.125,
                                  0.375,
                                  1.005,
                                  2.675,
                                  1e15,
                                  -1e15,
                                  1e300,
                                  -1e-300,
                                  4.9e-324,
                                  123456.789,
                                  99.995,
                                  0.045,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(),
                                  -std::numeric_limits<double>::quiet_NaN()};
    std::mt19937_64 rng(1);
    for (int i = 0; i < 2000; ++i) {
        // Prices, mileages and amounts of every size, many on exact ties.
        const double cents = static_cast<double>(rng() % 2000000) / 8.0;
        values.push_back(i % 2 ? cents : -cents / 1000.0);
        double any;
        const std::uint64_t bits = rng();
        std::memcpy(&any, &bits, sizeof any);
        values.push_back(any);
        // Figures with every bit of their fraction used, up to the largest
        // whole numbers a double holds exactly.
        const double scale = std::ldexp(1.0, static_cast<int>(rng() % 64) - 10);
        values.push_back(static_cast<double>(rng() >> 11) * 0x1p-53 * scale);
    }
    for (const double edge : {0x1p53, 0x1p53 - 1, 0x1p52 + 0.5, 0.0005, 0.00049999999999999995,
                              -0.0004, 999.9995, 0x1p-60})
        values.push_back(edge);
    for (const double v : values) {
        for (int decimals = 0; decimals <= 3; ++decimals) {
            const std::u16string printed = format("%.*f", decimals, v);
            ASSERT_EQ(decimal_text(v, decimals), printed) << v << " with " << decimals;
            std::string narrow;
            append_decimal(narrow, v, decimals);
            ASSERT_EQ(widen(narrow), printed);
        }
    }
}

TEST(number_text, dates_read_as_printf_writes_them_in_every_order) {
    const int odd[][3] = {{2007, 3, 5}, {1999, 12, 31}, {5, 1, 2}, {-7, 0, -3}, {12345, 99, 100}};
    for (std::uint16_t language : {1033, 9, 12, 1031, 2052}) {
        for (const auto& d : odd) {
            const int y = d[0], m = d[1], day = d[2], yy = y % 100;
            std::u16string short_expected, long_expected;
            if (language == 1031) {
                short_expected = format("%.2d.%.2d.%.2d", day, m, yy);
                long_expected = format("%.2d.%.2d.%.4d", day, m, y);
            } else if (language == 9 || language == 12) {
                short_expected = format("%.2d/%.2d/%.2d", day, m, yy);
                long_expected = format("%.2d/%.2d/%.4d", day, m, y);
            } else if (language == 2052) {
                short_expected = format("%.2d/%.2d/%.2d", yy, m, day);
                long_expected = format("%.4d/%.2d/%.2d", y, m, day);
            } else {
                short_expected = format("%.2d/%.2d/%.2d", m, day, yy);
                long_expected = format("%.2d/%.2d/%.4d", m, day, y);
            }
            std::u16string got;
            append_date(got, language, y, m, day, false);
            EXPECT_EQ(got, short_expected) << language;
            got.clear();
            append_date(got, language, y, m, day, true);
            EXPECT_EQ(got, long_expected) << language;
        }
    }
}

}  // namespace
}  // namespace kelvane
