#pragma once
// What the stores' chart operations fill: the statistics engine implements it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/common/number_text.h"

namespace kelvane {

// The day of a record as the number YYYYMMDD; 0 for a date no calendar has
// (a damaged record's fields may hold anything).
constexpr int day_key(int year, int month, int day) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    return year * 10000 + month * 100 + day;
}

// One value for a chart entry, as add_value takes it.
struct chart_value {
    std::u16string_view name;
    double value = 0;
    int day = 0;
    std::u16string_view date_text;
    std::u16string_view note_text;
    // Set when the date text is the day's short date in this language, and
    // date_text is left empty: a long series then writes no date text that
    // nobody may look at, and whoever shows the entry writes it.
    bool short_date_of_day = false;
    std::uint16_t date_language = 0;
};

// The short date of a day (YYYYMMDD, not 0) in a language, as a record's
// date reads in a chart.
inline void append_short_date_of_day(std::u16string& out, std::uint16_t language, int day) {
    append_date(out, language, day / 10000, day / 100 % 100, day % 100, false);
}

class chart_sink {
public:
    virtual ~chart_sink() = default;
    virtual void clear_entries() = 0;
    // Adds value to the entry of this name, or appends a new entry. An
    // entry made from one record carries its day as YYYYMMDD (0 for
    // a total), so that whoever lists the entries can date them in any form.
    virtual void add_value(std::u16string_view name, double value, int day,
                           std::u16string_view date_text, std::u16string_view note_text) = 0;
    // The same as add_value for each value in turn; a sink that looks every
    // name up in a large table looks a whole batch up at once.
    virtual void add_values(std::span<const chart_value> values) {
        std::u16string date;
        for (const chart_value& v : values) {
            if (!v.short_date_of_day) {
                add_value(v.name, v.value, v.day, v.date_text, v.note_text);
                continue;
            }
            date.clear();
            append_short_date_of_day(date, v.date_language, v.day);
            add_value(v.name, v.value, v.day, date, v.note_text);
        }
    }
    // Tells how many entries at most are about to be added, so that room
    // for them is made once rather than as they come.
    virtual void expect_entries(std::size_t /*count*/) {}
    // Widens the span of dates the chart covers by a record's date.
    virtual void note_date(int year, int month, int day) = 0;
};

// Hands a long series of values to a sink in batches. The name and date of
// each value are made in texts the batch keeps and reuses, so a series of
// many thousand values makes no text of its own per value; a note must stay
// valid until the batch is flushed.
class chart_value_batch {
public:
    explicit chart_value_batch(chart_sink& sink) : sink_(sink) {}
    ~chart_value_batch() { flush(); }
    chart_value_batch(const chart_value_batch&) = delete;
    chart_value_batch& operator=(const chart_value_batch&) = delete;

    // The emptied texts of the next value, to be written before add().
    std::u16string& next_name() { return emptied(names_[count_]); }
    std::u16string& next_date() { return emptied(dates_[count_]); }
    // Adds the next value with the texts written for it.
    void add(double value, int day, std::u16string_view note_text) {
        values_[count_] = {names_[count_], value, day, dates_[count_], note_text};
        if (++count_ == capacity) flush();
    }
    // Adds the next value of a record dated (year, month, day), with the name
    // written for it: its date text is the short date in the language. A
    // date no calendar has is written out as the record holds it.
    void add_dated(double value, std::uint16_t language, int year, int month, int day,
                   std::u16string_view note_text) {
        const int key = day_key(year, month, day);
        if (key == 0) {
            append_date(next_date(), language, year, month, day, false);
            return add(value, key, note_text);
        }
        values_[count_] = {names_[count_], value, key, {}, note_text, true, language};
        if (++count_ == capacity) flush();
    }
    void flush() {
        if (count_ > 0) sink_.add_values(std::span<const chart_value>(values_.data(), count_));
        count_ = 0;
    }

private:
    static constexpr std::size_t capacity = 64;
    static std::u16string& emptied(std::u16string& text) {
        text.clear();
        return text;
    }

    chart_sink& sink_;
    std::array<std::u16string, capacity> names_;
    std::array<std::u16string, capacity> dates_;
    std::array<chart_value, capacity> values_;
    std::size_t count_ = 0;
};

}  // namespace kelvane
