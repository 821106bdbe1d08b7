// The chart screen's periods: whole months and Sunday-to-Saturday weeks,
// across month, year and leap-day edges.

#include <gtest/gtest.h>

#include "core/charts/chart_period.h"

namespace kelvane {
namespace {

struct day_span {
    int y0, m0, d0, y1, m1, d1;
};

// The period as days, after checking it runs from 00:00:00 to 23:59:59.
day_span days_of(const chart_period& p) {
    EXPECT_EQ(0, p.start.hour + p.start.minute + p.start.second);
    EXPECT_EQ(23, p.end.hour);
    EXPECT_EQ(59, p.end.minute);
    EXPECT_EQ(59, p.end.second);
    return {p.start.year, p.start.month, p.start.day, p.end.year, p.end.month, p.end.day};
}

void expect_days(const chart_period& p, day_span want) {
    const day_span got = days_of(p);
    EXPECT_EQ(want.y0, got.y0);
    EXPECT_EQ(want.m0, got.m0);
    EXPECT_EQ(want.d0, got.d0);
    EXPECT_EQ(want.y1, got.y1);
    EXPECT_EQ(want.m1, got.m1);
    EXPECT_EQ(want.d1, got.d1);
}

local_time at(int y, int m, int d, int h = 0, int mi = 0, int s = 0) {
    return from_local_seconds(to_local_seconds(y, m, d, h, mi, s));
}

TEST(chart_period, months_from_the_last_day_of_january_and_the_first_of_march) {
    const chart_period january = current_month(at(2026, 1, 31, 16, 45));
    expect_days(january, {2026, 1, 1, 2026, 1, 31});
    expect_days(month_forward(january.end), {2026, 2, 1, 2026, 2, 28});
    expect_days(month_forward(at(2024, 1, 31, 23, 59, 59)), {2024, 2, 1, 2024, 2, 29});
    expect_days(month_back(at(2026, 3, 1)), {2026, 2, 1, 2026, 2, 28});
    expect_days(month_back(at(2024, 3, 1, 0, 0, 0)), {2024, 2, 1, 2024, 2, 29});
}

TEST(chart_period, months_cross_the_turn_of_the_year) {
    expect_days(month_forward(at(2025, 12, 31, 23, 59, 59)), {2026, 1, 1, 2026, 1, 31});
    expect_days(month_back(at(2026, 1, 1)), {2025, 12, 1, 2025, 12, 31});
}

TEST(chart_period, a_week_runs_from_sunday_to_saturday) {
    // 1 February 2026 is a Sunday: its week starts that same day.
    expect_days(current_week(at(2026, 2, 1, 9)), {2026, 2, 1, 2026, 2, 7});
    expect_days(current_week(at(2026, 2, 7, 23, 59, 59)), {2026, 2, 1, 2026, 2, 7});
    expect_days(current_week(at(2026, 1, 1)), {2025, 12, 28, 2026, 1, 3});
    EXPECT_EQ(0, current_week(at(2026, 1, 1)).start.weekday);
}

TEST(chart_period, weeks_step_by_seven_days_from_either_end) {
    const chart_period week = current_week(at(2026, 2, 4));
    expect_days(week_forward(week.end), {2026, 2, 8, 2026, 2, 14});
    expect_days(week_back(week.start), {2026, 1, 25, 2026, 1, 31});
    // From a period that is not a week (a month), the neighbouring weeks of its ends.
    const chart_period february = current_month(at(2024, 2, 10));
    expect_days(week_forward(february.end), {2024, 3, 3, 2024, 3, 9});
    // A start later in its day still steps back to a whole week.
    expect_days(week_back(at(2026, 2, 4, 14, 30)), {2026, 1, 25, 2026, 1, 31});
}

}  // namespace
}  // namespace kelvane
