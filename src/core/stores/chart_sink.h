#pragma once
// What the stores' chart operations fill: the statistics engine implements it.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvane {

// The day of a record as the number YYYYMMDD; 0 for a date no calendar has
// (a damaged record's fields may hold anything).
constexpr int day_key(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    return year * 10000 + month * 100 + day;
}

class chart_sink {
public:
    virtual ~chart_sink() = default;
    virtual void clear_entries() = 0;
    // Adds value to the entry of this name, or appends a new entry. An
    // entry made from one record carries its day in int1 as YYYYMMDD (0 for
    // a total), so that whoever lists the entries can date them in any form.
    virtual void add_value(std::u16string_view name, double value, int int1, int int2,
                           std::u16string_view date_text, std::u16string_view note_text) = 0;
    // Tells how many entries at most are about to be added, so that room
    // for them is made once rather than as they come.
    virtual void expect_entries(std::size_t /*count*/) {}
    // Widens the span of dates the chart covers by a record's date.
    virtual void note_date(int year, int month, int day) = 0;
};

}  // namespace kelvane
