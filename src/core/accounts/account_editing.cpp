#include "core/accounts/account_editing.h"

#include <algorithm>
#include <vector>

#include "core/accounts/configuration.h"
#include "core/accounts/staged_file_set.h"
#include "core/accounts/unit_change.h"
#include "core/common/folders.h"
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

// An account's three files as an edit makes them, held apart from the open
// stores, which change only once the files have.
struct account_files {
    fuel_store fuel;
    service_store service;
    fee_store fees;

    void load(const std::u16string& folder, const std::u16string& name) {
        (void)fuel.load(folder, name, false);
        (void)service.load(folder, name, false);
        (void)fees.load(folder, name, false);
    }
    // The files go under the new name; their records keep their keys.
    void rename(const std::u16string& name) {
        set_fixed(fuel.header().account_name, name);
        set_fixed(service.header().account_name, name);
        set_fixed(fees.header().account_name, name);
    }
    bool stage(staged_file_set& set, const std::u16string& name) {
        return set.add_written(name + u".ful", [&](std::u16string_view p) {
            return fuel.write_whole_file_to(p);
        }) && set.add_written(name + u".mat", [&](std::u16string_view p) {
            return service.write_whole_file_to(p);
        }) && set.add_written(name + u".fee", [&](std::u16string_view p) {
            return fees.write_whole_file_to(p);
        });
    }
};

// Puts Trip.tri as the trips are now into the set; a data folder without
// trips gets no file for them.
bool stage_trips(staged_file_set& set, trip_store& trips, const std::u16string& folder) {
    if (trips.account_name().empty()) return true;
    const std::u16string name = trips.account_name() + std::u16string(trip_store::extension);
    if (trips.record_count() == 0 && !device_files().file_exists(folder + name)) return true;
    return set.add_written(name,
                           [&](std::u16string_view p) { return trips.write_whole_file_to(p); });
}

// Loads the account into the open stores as its files hold it.
void open_stores(account_edit_stores& s, const std::u16string& folder, const std::u16string& name) {
    if (name.empty()) return;
    (void)s.fuel.load(folder, name, false);
    (void)s.service.load(folder, name, false);
    (void)s.fees.load(folder, name, false);
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
    const bool owed_written = reset_account_stores(stores);
    const std::u16string folder = config.data_folder();
    const configuration::config_block before = config.block();

    // The new state is made in memory first: the account's files, the trips
    // and the registry.
    account_files next;
    next.load(folder, renaming ? opening : name);
    trip_store trips = stores.trips;
    trips.hold_writes(true);
    if (renaming) {
        next.rename(name);
        (void)trips.rename_vehicle(opening, name);
        (void)config.unplace_account(opening);
    }
    // An edited account keeps its slot; a new or renamed one takes a free one.
    if (!config.account_exists(name)) (void)config.place_account(name);
    config.set_current_account(name);

    fuel_header& h = next.fuel.header();
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
    // Held, the trips write nothing here.
    (void)change_account_units(next.fuel, next.service, next.fees, trips, old_distance,
                               edited.mileage_unit, old_volume, edited.fuel_unit);

    // Copies of a renamed account's files go to "Deleted" first; then every
    // changed file replaces its old one in one step.
    bool copied = true;
    std::vector<std::u16string_view> present;
    if (renaming) {
        for (auto ext : account_extensions)
            if (device_files().file_exists(folder + opening + ext)) present.push_back(ext);
        for (auto ext : present)
            copied = copied && copy_into_folder(folder, config.deleted_folder(), opening + ext);
    }
    staged_file_set set(folder);
    const bool staged = copied && set.begin() && next.stage(set, name) &&
                        stage_trips(set, trips, folder) && config.stage_config(set);
    // A new name that differs only in letter case names the same files where
    // names fold case: there the new files simply take their place.
    const bool same_files = same_name_ignoring_case(opening, name);
    if (renaming && !same_files)
        for (auto ext : account_extensions) set.add_removal(opening + ext);
    const staged_file_set::outcome outcome =
        staged ? set.commit() : staged_file_set::outcome::rolled_back;
    if (outcome == staged_file_set::outcome::rolled_back) {
        // Nothing changed: the registry, the trips and the open stores are
        // as the files hold them.
        config.block() = before;
        open_stores(stores, folder, config.current_account());
        result.outcome =
            renaming ? account_save_outcome::rename_failed : account_save_outcome::not_written;
        result.name = renaming ? opening : std::u16string();
        return result;
    }
    // "Deleted" holds the files of a name's last deletion only; an older copy
    // of a file this account never had must not pass for part of it. Without
    // the fuel file, which every account has, the copies there may be the
    // only ones of a change cut off before: they stay.
    if (renaming && !present.empty() && present.front() == account_extensions[0])
        for (auto ext : account_extensions)
            if (std::find(present.begin(), present.end(), ext) == present.end())
                device_files().delete_file(config.deleted_folder() + opening + ext);
    // Where names keep their case, the old files are still there beside the
    // new ones (two entries): they go.
    if (renaming && same_files) {
        for (auto ext : account_extensions) {
            bool old_there = false, new_there = false;
            for (const find_entry& e : device_files().find(folder + name + ext)) {
                old_there = old_there || e.name == opening + ext;
                new_there = new_there || e.name == name + ext;
            }
            if (old_there && new_there) device_files().delete_file(folder + opening + ext);
        }
    }
    trips.hold_writes(false);
    stores.trips = std::move(trips);
    open_stores(stores, folder, name);
    result.name = name;
    result.files_written = owed_written && outcome == staged_file_set::outcome::done;
    return result;
}

bool delete_account_and_trips(configuration& config, account_edit_stores stores,
                              std::u16string_view name_view) {
    const std::u16string name(name_view);
    if (!config.account_exists(name)) return false;
    trip_store trips = stores.trips;
    trips.hold_writes(true);
    (void)trips.delete_trips_of_vehicle(name);
    const std::u16string folder = config.data_folder();
    const account_change deleted = config.delete_account(
        name, [&](staged_file_set& set) { return stage_trips(set, trips, folder); });
    // A vehicle whose files could not be moved stays, and so do its trips.
    if (deleted == account_change::files_kept) return false;
    trips.hold_writes(false);
    stores.trips = std::move(trips);
    bool written = deleted == account_change::done;
    // Deleting closes the open account whichever it was; stores still holding
    // another account are emptied as well, so no screen goes on showing the
    // records of an account that is no longer open.
    written = reset_account_stores(stores) && written;
    return written;
}

}  // namespace kelvane
