#pragma once
// A chart that records what the stores' chart operations put into it.

#include <string>
#include <vector>

#include "core/stores/chart_sink.h"

namespace kelvane::testing {

struct recorded_chart : chart_sink {
    struct entry {
        std::u16string name;
        double value;
        std::u16string date_text, note_text;
    };
    std::vector<entry> entries;
    std::vector<int> dates;  // yyyymmdd of every note_date
    int clears = 0;

    void clear_entries() override {
        entries.clear();
        ++clears;
    }
    void add_value(std::u16string_view name, double value, int, std::u16string_view date_text,
                   std::u16string_view note_text) override {
        for (entry& e : entries) {
            if (e.name == name) {
                e.value += value;
                return;
            }
        }
        entries.push_back(
            {std::u16string(name), value, std::u16string(date_text), std::u16string(note_text)});
    }
    void note_date(int year, int month, int day) override {
        dates.push_back(year * 10000 + month * 100 + day);
    }
};

}  // namespace kelvane::testing
