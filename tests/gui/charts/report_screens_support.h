#pragma once
// What the reports and trips screen tests share: vehicle accounts with
// records, made through the program's own stores as the owner makes them,
// and a look at the dialogs a flow opens.

#include <initializer_list>
#include <string>
#include <vector>

#include "gui/gui_test_support.h"

namespace kelvane {

struct fill_up {
    int year, month, day;
    double mileage;
    double fuel = 30;
    double cost = 40;
    int hour = 12;
};

struct cost_entry {
    int year, month, day;
    double mileage;
    double cost;
    int hour = 10;
    int minute = 0;
};

class report_screens_test : public gui_test {
protected:
    report_screens_test();

    // Registers the account and writes its records; the account that was
    // open before stays open (the first one becomes the open account).
    void add_account(std::u16string_view name, std::initializer_list<fill_up> fill_ups,
                     std::initializer_list<cost_entry> repairs = {},
                     std::initializer_list<cost_entry> fees = {});
    // Adds a trip through the trip store.
    void add_trip(std::u16string_view description, std::vector<std::u16string> vehicles,
                  double start_mileage = -1, double end_mileage = -1);

    // The data folder of the device.
    std::u16string folder() const;
};

// The names of the entries of a chart engine, in order.
template <class Engine>
std::vector<std::u16string> entry_names(const Engine& e) {
    std::vector<std::u16string> out;
    for (const auto& entry : e.entries()) {
        std::u16string n;
        for (char16_t c : entry.name) {
            if (!c) break;
            n += c;
        }
        out.push_back(n);
    }
    return out;
}

}  // namespace kelvane
