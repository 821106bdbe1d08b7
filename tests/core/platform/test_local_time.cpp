#include <gtest/gtest.h>

#include "platform/local_time.h"

using namespace kelvane;

TEST(LocalTime, SecondsRoundTripAndWeekday) {
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

TEST(LocalTime, DayStepsAcrossMonthAndLeapYear) {
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

TEST(LocalTime, MonthsCarryIntoYears) {
    EXPECT_EQ(to_local_seconds(2025, 13, 1, 0, 0, 0), to_local_seconds(2026, 1, 1, 0, 0, 0));
    EXPECT_EQ(to_local_seconds(2026, 0, 1, 0, 0, 0), to_local_seconds(2025, 12, 1, 0, 0, 0));
}
