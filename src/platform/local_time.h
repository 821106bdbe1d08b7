#pragma once
// The device's local clock and local-time arithmetic. Record dates are
// compared as 64-bit seconds since 1970 counted in local time: the civil date
// and time are turned into seconds without any time zone or daylight-saving
// shift, so a day is always 86400 seconds and equal texts give equal seconds.

#include <cstdint>

namespace kelvane {

struct local_time {
    int year = 1970;  // four digits
    int month = 1;    // 1-12
    int day = 1;      // 1-31
    int hour = 0;
    int minute = 0;
    int second = 0;
    int weekday = 4;  // 0 = Sunday; filled by the clock and by from_local_seconds
};

std::int64_t to_local_seconds(int year, int month, int day, int hour, int minute, int second);
inline std::int64_t to_local_seconds(const local_time& t) {
    return to_local_seconds(t.year, t.month, t.day, t.hour, t.minute, t.second);
}
local_time from_local_seconds(std::int64_t seconds);

// The seconds of dates that mostly come month after month, as a store's
// records do: a month's first day is worked out once for the dates that
// share it. The values are to_local_seconds's.
class month_by_month_seconds {
public:
    std::int64_t of(int year, int month, int day, int hour, int minute, int second) {
        if (!known_ || year != year_ || month != month_) {
            known_ = true;
            year_ = year, month_ = month;
            month_start_ = to_local_seconds(year, month, 1, 0, 0, 0);
        }
        return month_start_ + (static_cast<std::int64_t>(day) - 1) * 86400 +
               static_cast<std::int64_t>(hour) * 3600 + static_cast<std::int64_t>(minute) * 60 +
               static_cast<std::int64_t>(second);
    }

private:
    bool known_ = false;
    int year_ = 0, month_ = 0;
    std::int64_t month_start_ = 0;
};

// True for a real calendar date (years 1-9999).
bool is_valid_date(int year, int month, int day);
int days_in_month(int year, int month);

class clock_service {
public:
    virtual ~clock_service() = default;
    virtual local_time now() const = 0;
};

// The host's clock in the host's time zone.
class host_clock : public clock_service {
public:
    local_time now() const override;
};

// A clock that shows a set time, for tests.
class fixed_clock : public clock_service {
public:
    explicit fixed_clock(local_time t = {}) : t_(t) {}
    local_time now() const override { return t_; }
    void set(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);
    void set(const local_time& t) { t_ = from_local_seconds(to_local_seconds(t)); }
    void advance(std::int64_t seconds) { t_ = from_local_seconds(to_local_seconds(t_) + seconds); }

private:
    local_time t_;
};

}  // namespace kelvane
