#include "core/accounts/account_editing.h"

#include <algorithm>
#include <vector>

#include "core/accounts/configuration.h"
#include "core/accounts/unit_change.h"
#include "core/common/text.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr std::u16string_view account_extensions[] = {u".ful", u".mat", u".fee"};

std::u16string operator+(const std::u16string& a, std::u16string_view b) {
    std::u16string s = a;
    s.append(b);
    return s;
}

// Gives the account's files the new name. The copies that deleting the old
// account leaves in "Deleted" are made first; then each file is moved in one
// step, so the files are never in two half states: when a move fails, the
// ones already moved go back and the old account is whole again.
bool move_account_files(const configuration& config, const std::u16string& from,
                        const std::u16string& to) {
    auto& files = device_files();
    const std::u16string folder = config.data_folder();
    const std::u16string deleted = config.deleted_folder();
    std::vector<std::u16string_view> present;
    for (auto ext : account_extensions)
        if (files.file_exists(folder + from + ext)) present.push_back(ext);

    for (auto ext : present)
        if (!configuration::copy_into_folder(folder, deleted, from + ext)) return false;

    std::vector<std::u16string_view> moved;
    for (auto ext : present) {
        if (!files.replace_file(folder + from + ext, folder + to + ext)) {
            for (auto back : moved) files.replace_file(folder + to + back, folder + from + back);
            return false;
        }
        moved.push_back(ext);
    }
    // "Deleted" holds the files of a name's last deletion only; an older copy
    // of a file this account never had must not pass for part of it.
    for (auto ext : account_extensions)
        if (std::find(present.begin(), present.end(), ext) == present.end())
            files.delete_file(deleted + from + ext);
    return true;
}

// Writes what the stores owe their files and empties them; false when a
// file could not take it (the store has told the owner).
bool reset_account_stores(account_edit_stores& s) {
    const bool fuel_ok = s.fuel.reset();
    const bool service_ok = s.service.reset();
    const bool fees_ok = s.fees.reset();
    return fuel_ok && service_ok && fees_ok;
}

}  // namespace

account_settings read_account_settings(const configuration& config, std::u16string_view name) {
    account_settings s;
    s.name = std::u16string(name);
    if (!configuration::is_valid_account_name(name)) return s;
    const fuel_header h = fuel_store::read_account_header(config.data_folder(), name).header;
    s.initial_mileage = h.initial_mileage;
    s.initial_fuel = h.initial_fuel;
    s.tank_capacity = h.tank_capacity;
    const std::u16string mileage = fixed_text(h.mileage_unit);
    if (mileage_unit_index(mileage) >= 0) s.mileage_unit = mileage;
    const std::u16string fuel = effective_fuel_unit(fixed_text(h.fuel_unit));
    if (fuel_unit_index(fuel) >= 0) s.fuel_unit = fuel;
    s.economy_mode =
        h.economy_mode >= 0 && h.economy_mode < int(economy_unit_names.size()) ? h.economy_mode : 0;
    s.currency = fixed_text(h.currency);
    s.year = h.account_year;
    s.month = h.account_month;
    s.day = h.account_day;
    s.note = fixed_text(h.account_note);
    return s;
}

account_save_result save_account_edit(configuration& config, account_edit_stores stores,
                                      std::u16string_view opening_view,
                                      const account_settings& edited) {
    const std::u16string opening(opening_view);
    const std::u16string name = cut(edited.name, configuration::max_name_length);
    account_save_result result;
    if (name.empty()) {
        result.outcome = account_save_outcome::empty_name;
        return result;
    }
    if (!configuration::is_valid_account_name(name)) {
        result.outcome = account_save_outcome::invalid_name;
        return result;
    }
    const bool adding = opening.empty();
    const bool renaming = !adding && name != opening;

    // Every check comes before the first change, so a refusal leaves every
    // file and the configuration exactly as they were.
    for (int i = 0; i < configuration::max_accounts; ++i) {
        const std::u16string other = config.account_slot(i);
        if (other.empty() || (!adding && other == opening)) continue;
        // A new account under a name in use, exactly or in another letter
        // case (the same files on the device), would take over that
        // vehicle: its settings replaced and its records converted.
        if (same_name_ignoring_case(other, name)) {
            result.outcome = account_save_outcome::name_taken;
            return result;
        }
    }
    const bool frees_a_slot = renaming && config.account_exists(opening);
    if (!config.account_exists(name) && !frees_a_slot && !config.has_free_slot()) {
        result.outcome = account_save_outcome::no_free_slot;
        return result;
    }

    // What the stores still owe their files is written before files move.
    bool written = reset_account_stores(stores);
    if (renaming) {
        if (!move_account_files(config, opening, name)) {
            // A damaged file of the old account is reported by its store.
            (void)config.open_account(opening);
            result.outcome = account_save_outcome::rename_failed;
            result.name = opening;
            return result;
        }
        written = config.forget_account(opening) != account_change::not_saved && written;
        written = stores.trips.rename_vehicle(opening, name) && written;
    }
    // A new or renamed account's name is added (an edited one is there
    // already); only a failed save counts.
    written = config.add_account(name) != account_change::not_saved && written;
    written = !config.open_account(name).not_saved && written;

    fuel_header& h = stores.fuel.header();
    h.tank_capacity = edited.tank_capacity;
    h.initial_mileage = edited.initial_mileage;
    h.current_mileage = edited.initial_mileage;
    h.initial_fuel = edited.initial_fuel;
    const std::u16string old_distance = fixed_text(h.mileage_unit);
    const std::u16string old_volume = fixed_text(h.fuel_unit);
    set_fixed(h.account_note, cut(edited.note, account_note_length));
    set_fixed(h.mileage_unit, edited.mileage_unit);
    set_fixed(h.currency, edited.currency);
    set_fixed(h.fuel_unit, edited.fuel_unit);
    h.economy_mode = edited.economy_mode;
    h.account_year = edited.year;
    h.account_month = edited.month;
    h.account_day = edited.day;
    // The records' conversion is in memory; Trip.tri is written at once.
    written =
        change_account_units(stores.fuel, stores.service, stores.fees, stores.trips, old_distance,
                             edited.mileage_unit, old_volume, edited.fuel_unit) &&
        written;

    const bool fuel_ok = stores.fuel.save_all();
    const bool service_ok = stores.service.save_all();
    const bool fees_ok = stores.fees.save_all();
    const bool records_ok = fuel_ok && service_ok && fees_ok;
    result.files_written = records_ok && written;
    // Loading the account again shows what reached the files; after a failed
    // write that would throw away the settings, so the stores keep them.
    // Config.dat already names this account open: a failure to write it once
    // more still counts.
    if (records_ok && config.open_account(name).not_saved) result.files_written = false;
    result.name = name;
    return result;
}

bool delete_account_and_trips(configuration& config, account_edit_stores stores,
                              std::u16string_view name_view) {
    const std::u16string name(name_view);
    if (!config.account_exists(name)) return false;
    const account_change deleted = config.delete_account(name);
    // A vehicle whose files could not be moved stays, and so do its trips.
    if (deleted == account_change::files_kept) return false;
    bool written = deleted == account_change::done;
    written = stores.trips.delete_trips_of_vehicle(name) && written;
    // Deleting closes the open account whichever it was; stores still holding
    // another account are emptied as well, so no screen goes on showing the
    // records of an account that is no longer open.
    written = reset_account_stores(stores) && written;
    return written;
}

}  // namespace kelvane
