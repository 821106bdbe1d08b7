#pragma once
// The periods the chart screen steps through: the current, next and previous
// month or week, each from the first moment of its first day to the last
// second of its last day. Weeks start on Sunday. The chart screen reads its
// two date boxes as whole days, so every period here is made of whole days.

#include "platform/local_time.h"

namespace kelvane {

struct chart_period {
    local_time start;  // 00:00:00 of the first day
    local_time end;    // 23:59:59 of the last day
};

// The month of `today`.
chart_period current_month(const local_time& today);
// The month after the one that holds `end` (the period's end).
chart_period month_forward(const local_time& end);
// The month before the one that holds `start` (the period's start).
chart_period month_back(const local_time& start);
// The week (Sunday to Saturday) that holds `today`.
chart_period current_week(const local_time& today);
// The week after the one that holds `end`.
chart_period week_forward(const local_time& end);
// The week before the one that holds `start`.
chart_period week_back(const local_time& start);

// The same day at 00:00:00 and at 23:59:59.
local_time start_of_day(const local_time& t);
local_time end_of_day(const local_time& t);

}  // namespace kelvane
