#pragma once
// What the account editor's boxes hold while the owner types: the numbers as
// the boxes show them and the units they are shown in. Changing a unit
// converts the numbers shown, so a saved edit keeps what the owner saw. The
// editor's screen and kelvane-tool both go through this, so an edit leaves
// the same bytes whichever of them made it.

#include <string>
#include <string_view>

#include "core/accounts/account_editing.h"

namespace kelvane {

struct account_entry {
    std::u16string name;
    std::u16string initial_mileage, initial_fuel, tank_capacity;  // as the boxes show them
    std::u16string mileage_unit = unit_kilometer;  // the units the numbers are shown in
    std::u16string fuel_unit = unit_liter;
    int economy_mode = 0;
    std::u16string currency;
    int year = 0, month = 0, day = 0;
    std::u16string note;

    // The boxes of an account being edited, each number as the editor shows
    // it ("%.1f" for the mileage, "%.2f" for the volumes).
    static account_entry of(const account_settings& stored);

    // The owner chose another unit: the numbers in the boxes follow it. An
    // empty box stays empty (it means 0 in any unit).
    void change_mileage_unit(std::u16string_view unit);
    void change_fuel_unit(std::u16string_view unit);

    // What saving takes from the boxes (numbers read with the shared parser).
    account_settings settings() const;
};

// The message (an English key) the owner sees when a save is refused; empty
// for a save that went through.
std::u16string_view account_save_message(account_save_outcome outcome);

}  // namespace kelvane
