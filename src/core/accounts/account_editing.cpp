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

namespace {

// The refusals of an edit, all made before the first change, so that a
// refused edit leaves every file and the configuration exactly as they were;
// saved when the edit may go on.
account_save_outcome check_account_edit(const configuration& config, const std::u16string& opening,
                                        const std::u16string& name) {
    if (name.empty()) return account_save_outcome::empty_name;
    if (!configuration::is_valid_account_name(name)) return account_save_outcome::invalid_name;
    const bool adding = opening.empty();
    for (int i = 0; i < configuration::max_accounts; ++i) {
        const std::u16string other = config.account_slot(i);
        if (other.empty() || (!adding && other == opening)) continue;
        // A new account under a name in use, exactly or in another letter
        // case (the same files on the device), would take over that
        // vehicle: its settings replaced and its records converted.
        if (same_name_ignoring_case(other, name)) return account_save_outcome::name_taken;
    }
    const bool frees_a_slot = !adding && name != opening && config.account_exists(opening);
    if (!config.account_exists(name) && !frees_a_slot && !config.has_free_slot())
        return account_save_outcome::no_free_slot;
    return account_save_outcome::saved;
}

// One account edit: the names it goes from and to, and the new state made
// in memory before any file changes (the account's files, the trips and the
// registry).
struct account_edit {
    std::u16string folder;
    std::u16string opening;  // empty when adding
    std::u16string name;
    account_files next;
    trip_store trips;

    bool renaming() const { return !opening.empty() && name != opening; }
};

// Makes the edit in memory: the account's files under the new name with the
// settings and the records in the new units, the trips naming it, and the
// registry holding it as the open account.
void apply_account_edit(configuration& config, account_edit& e, const account_settings& edited) {
    e.next.load(e.folder, e.renaming() ? e.opening : e.name);
    e.trips.hold_writes(true);
    if (e.renaming()) {
        e.next.rename(e.name);
        (void)e.trips.rename_vehicle(e.opening, e.name);
        (void)config.unplace_account(e.opening);
    }
    // An edited account keeps its slot; a new or renamed one takes a free one.
    if (!config.account_exists(e.name)) (void)config.place_account(e.name);
    config.set_current_account(e.name);

    fuel_header& h = e.next.fuel.header();
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
    (void)change_account_units(e.next.fuel, e.next.service, e.next.fees, e.trips, old_distance,
                               edited.mileage_unit, old_volume, edited.fuel_unit);
}

// Writes the edit: copies of a renamed account's files go to "Deleted"
// first; then every changed file replaces its old one in one step. Once in
// place, what a rename leaves behind is tidied away.
staged_file_set::outcome commit_account_edit(configuration& config, account_edit& e) {
    const std::u16string& folder = e.folder;
    bool copied = true;
    std::vector<std::u16string_view> present;
    if (e.renaming()) {
        for (auto ext : account_extensions)
            if (device_files().file_exists(folder + e.opening + ext)) present.push_back(ext);
        for (auto ext : present)
            copied = copied && copy_into_folder(folder, config.deleted_folder(), e.opening + ext);
    }
    staged_file_set set(folder);
    const bool staged = copied && set.begin() && e.next.stage(set, e.name) &&
                        stage_trips(set, e.trips, folder) && config.stage_config(set);
    // A new name that differs only in letter case names the same files where
    // names fold case: there the new files simply take their place.
    const bool same_files = same_name_ignoring_case(e.opening, e.name);
    if (e.renaming() && !same_files)
        for (auto ext : account_extensions) set.add_removal(e.opening + ext);
    const staged_file_set::outcome outcome =
        staged ? set.commit() : staged_file_set::outcome::rolled_back;
    if (outcome == staged_file_set::outcome::rolled_back || !e.renaming()) return outcome;
    // "Deleted" holds the files of a name's last deletion only; an older copy
    // of a file this account never had must not pass for part of it. Without
    // the fuel file, which every account has, the copies there may be the
    // only ones of a change cut off before: they stay.
    if (!present.empty() && present.front() == account_extensions[0])
        for (auto ext : account_extensions)
            if (std::find(present.begin(), present.end(), ext) == present.end())
                device_files().delete_file(config.deleted_folder() + e.opening + ext);
    // Where names keep their case, the old files are still there beside the
    // new ones (two entries): they go.
    if (same_files) {
        for (auto ext : account_extensions) {
            bool old_there = false, new_there = false;
            for (const find_entry& f : device_files().find(folder + e.name + ext)) {
                old_there = old_there || f.name == e.opening + ext;
                new_there = new_there || f.name == e.name + ext;
            }
            if (old_there && new_there) device_files().delete_file(folder + e.opening + ext);
        }
    }
    return outcome;
}

}  // namespace

account_save_result save_account_edit(configuration& config, account_edit_stores stores,
                                      std::u16string_view opening, const account_settings& edited) {
    account_edit e{config.data_folder(),
                   std::u16string(opening),
                   cut(edited.name, configuration::max_name_length),
                   {},
                   stores.trips};
    account_save_result result;
    result.outcome = check_account_edit(config, e.opening, e.name);
    if (result.outcome != account_save_outcome::saved) return result;

    // What the stores still owe their files is written before files move.
    const bool owed_written = reset_account_stores(stores);
    const configuration::config_block before = config.block();
    apply_account_edit(config, e, edited);
    const staged_file_set::outcome outcome = commit_account_edit(config, e);
    if (outcome == staged_file_set::outcome::rolled_back) {
        // Nothing changed: the registry, the trips and the open stores are
        // as the files hold them.
        config.block() = before;
        open_stores(stores, e.folder, config.current_account());
        result.outcome =
            e.renaming() ? account_save_outcome::rename_failed : account_save_outcome::not_written;
        result.name = e.renaming() ? e.opening : std::u16string();
        return result;
    }
    e.trips.hold_writes(false);
    stores.trips = std::move(e.trips);
    open_stores(stores, e.folder, e.name);
    result.name = e.name;
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
