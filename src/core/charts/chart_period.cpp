#include "core/charts/chart_period.h"

#include <cstdint>

namespace kelvane {

namespace {

constexpr std::int64_t day_seconds = 86400;

// Normalises the date and fills in its weekday.
local_time at(int year, int month, int day, int hour, int minute, int second) {
    return from_local_seconds(to_local_seconds(year, month, day, hour, minute, second));
}

chart_period month_of(int year, int month) {
    // Months outside 1..12 roll into the neighbouring years.
    while (month > 12) month -= 12, ++year;
    while (month < 1) month += 12, --year;
    return {at(year, month, 1, 0, 0, 0), at(year, month, days_in_month(year, month), 23, 59, 59)};
}

// The week whose Sunday is on or before the day `t`.
chart_period week_of(const local_time& t) {
    const local_time day = at(t.year, t.month, t.day, 0, 0, 0);
    const std::int64_t sunday = to_local_seconds(day) - day.weekday * day_seconds;
    return {from_local_seconds(sunday), from_local_seconds(sunday + 7 * day_seconds - 1)};
}

local_time moved_by_days(const local_time& t, int days) {
    return from_local_seconds(to_local_seconds(t) + days * day_seconds);
}

}  // namespace

local_time start_of_day(const local_time& t) {
    return at(t.year, t.month, t.day, 0, 0, 0);
}

local_time end_of_day(const local_time& t) {
    return at(t.year, t.month, t.day, 23, 59, 59);
}

chart_period current_month(const local_time& today) {
    return month_of(today.year, today.month);
}

chart_period month_forward(const local_time& end) {
    return month_of(end.year, end.month + 1);
}

chart_period month_back(const local_time& start) {
    return month_of(start.year, start.month - 1);
}

chart_period current_week(const local_time& today) {
    return week_of(today);
}

chart_period week_forward(const local_time& end) {
    return week_of(moved_by_days(end, 7));
}

chart_period week_back(const local_time& start) {
    return week_of(moved_by_days(start, -7));
}

}  // namespace kelvane
