#include <gtest/gtest.h>

#include <climits>
#include <cstdint>

#include "platform/local_time.h"

using namespace kelvane;

TEST(local_time, seconds_round_trip_and_weekday) {
    EXPECT_EQ(to_local_seconds(1970, 1, 1, 0, 0, 0), 0);
    EXPECT_EQ(to_local_seconds(2007, 3, 5, 0, 0, 0), 1173052800);
    const auto t = from_local_seconds(to_local_seconds(2026, 12, 6, 13, 14, 15));
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.day, 6);
    EXPECT_EQ(t.hour, 13);
    EXPECT_EQ(t.minute, 14);
    EXPECT_EQ(t.second, 15);
    EXPECT_EQ(t.weekday, 0);  // a Sunday
    EXPECT_EQ(from_local_seconds(-1).year, 1969);
}

TEST(local_time, day_steps_across_month_and_leap_year) {
    auto feb28 = to_local_seconds(2024, 2, 28, 12, 0, 0);
    EXPECT_EQ(from_local_seconds(feb28 + 86400).day, 29);
    EXPECT_EQ(from_local_seconds(feb28 + 2 * 86400).month, 3);
    EXPECT_EQ(days_in_month(2023, 2), 28);
    EXPECT_EQ(days_in_month(2000, 2), 29);
    EXPECT_EQ(days_in_month(1900, 2), 28);
    EXPECT_TRUE(is_valid_date(2024, 2, 29));
    EXPECT_FALSE(is_valid_date(2023, 2, 29));
    EXPECT_FALSE(is_valid_date(2023, 13, 1));
    EXPECT_FALSE(is_valid_date(2023, 4, 31));
}

TEST(local_time, months_carry_into_years) {
    EXPECT_EQ(to_local_seconds(2025, 13, 1, 0, 0, 0), to_local_seconds(2026, 1, 1, 0, 0, 0));
    EXPECT_EQ(to_local_seconds(2026, 0, 1, 0, 0, 0), to_local_seconds(2025, 12, 1, 0, 0, 0));
}

// A damaged record can hold any 32-bit value in its date fields; its moment
// must still be worked out (no overflow) and sort where its fields say.
TEST(local_time, extreme_fields_of_a_damaged_date_stay_in_order) {
    const auto now = to_local_seconds(2007, 10, 4, 2, 25, 33);
    EXPECT_LT(to_local_seconds(2007, INT32_MIN, 1, 0, 0, 0), to_local_seconds(1, 1, 1, 0, 0, 0));
    EXPECT_LT(to_local_seconds(2007, 10, INT32_MIN, 0, 0, 0), now);
    EXPECT_LT(to_local_seconds(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN),
              to_local_seconds(INT32_MIN, 1, 1, 0, 0, 0));
    EXPECT_GT(to_local_seconds(2007, INT32_MAX, 1, 0, 0, 0),
              to_local_seconds(9999, 12, 31, 0, 0, 0));
    EXPECT_GT(to_local_seconds(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX),
              to_local_seconds(INT32_MAX, 1, 1, 0, 0, 0));
    EXPECT_EQ(
        to_local_seconds(2007, 10, 4, 0, 0, INT32_MIN) - to_local_seconds(2007, 10, 4, 0, 0, 0),
        static_cast<std::int64_t>(INT32_MIN));
}
