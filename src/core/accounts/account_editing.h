#pragma once
// Adding, changing and deleting a vehicle account: what the account editor
// does to the files, kept apart from the screen so that the program and
// kelvane-tool leave exactly the same bytes behind.
//
// An account is a name in the configuration plus three record files named
// after it; its settings (units, currency, starting values, date, note) live
// in the header of its fuel file.

#include <string>
#include <string_view>

#include "core/accounts/units.h"

namespace kelvane {

class configuration;
class fuel_store;
class service_store;
class fee_store;
class trip_store;

// The account editor's working copy: the name and the settings it edits.
struct account_settings {
    std::u16string name;
    double initial_mileage = 0;
    double initial_fuel = 0;
    double tank_capacity = 0;
    std::u16string mileage_unit = unit_kilometer;  // English key
    std::u16string fuel_unit = unit_liter;         // English key
    int economy_mode = 0;                          // 0-3, see economy_unit_names
    std::u16string currency;
    int year = 0, month = 0, day = 0;
    std::u16string note;
};

// The notes of an account keep this many characters.
inline constexpr std::size_t account_note_length = 30;

// The stores an account edit works on: the three of the open account and the trips.
struct account_edit_stores {
    fuel_store& fuel;
    service_store& service;
    fee_store& fees;
    trip_store& trips;
};

// The settings of an account as its fuel file's header holds them (a missing
// file gives zeros and the first unit of each list). "Gallon", written by
// older versions, reads as "US Gallon".
account_settings read_account_settings(const configuration& config, std::u16string_view name);

enum class account_save_outcome {
    saved,          // the account holds the settings and is open
    empty_name,     // nothing was changed
    invalid_name,   // the name cannot be a file name; nothing was changed
    name_taken,     // another account has this name (or one that differs only in
                    // letter case, which shares its files on the device); nothing changed
    no_free_slot,   // a new account while all 100 slots are in use; nothing changed
    rename_failed,  // the files could not be renamed; the old account is intact and open
    not_written,    // the files could not be written; nothing was changed
};

struct account_save_result {
    account_save_outcome outcome = account_save_outcome::saved;
    // The account open afterwards: the saved name, or the opening name when
    // a rename failed; empty when nothing was touched.
    std::u16string name;
    // False when the pending changes of the open stores could not be
    // written first, or when the new files were written but could not all
    // be moved into place yet: the next start finishes that (the owner was
    // told either way).
    bool files_written = true;
};

// Saves the editor's settings. With an empty opening name a new account is
// added (a name that is already registered is refused as name_taken);
// otherwise the account of the opening name is changed and, when
// the name differs, renamed: its files take the new name, copies of the old
// ones go to "Deleted" and the trips name the new account. The records are
// converted when the units change. Refusals change nothing.
//
// Every file that changes (the account's three, Trip.tri and Config.dat) is
// written whole beside the data folder's and all of them replace the old
// ones together: an edit stopped at any point leaves either the old account
// or the new one, never records in one unit under a header in the other.
account_save_result save_account_edit(configuration& config, account_edit_stores stores,
                                      std::u16string_view opening_name,
                                      const account_settings& edited);

// Deletes the account (its files go to "Deleted") and every trip that starts
// with it, in one step with Config.dat and Trip.tri. No account is open
// afterwards and the three stores are empty.
// False when no account has the name, when its files could not be moved
// (the account and its trips then stay as they were), or when a file could
// not be written (the store or the configuration has told the owner).
[[nodiscard]] bool delete_account_and_trips(configuration& config, account_edit_stores stores,
                                            std::u16string_view name);

}  // namespace kelvane
