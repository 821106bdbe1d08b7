#pragma once
// Moving an editor's values into a record's fields: the six date fields
// from the picked moment, texts cut to what a field keeps.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/local_time.h"

namespace kelvane {

template <class Record>
void set_record_date(Record& r, const local_time& t) {
    r.year = t.year;
    r.month = t.month;
    r.day = t.day;
    r.hour = t.hour;
    r.minute = t.minute;
    r.second = t.second;
}

template <class Record>
local_time record_date(const Record& r) {
    local_time t;
    t.year = r.year;
    t.month = r.month;
    t.day = r.day;
    t.hour = r.hour;
    t.minute = r.minute;
    t.second = r.second;
    return t;
}

// The first n units of a text, one fewer where the n-th would split a
// character that takes two units, so that no half character is stored.
inline std::u16string cut_text(std::u16string_view text, std::size_t n) {
    if (text.size() <= n) return std::u16string(text);
    if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    return std::u16string(text.substr(0, n));
}

}  // namespace kelvane
