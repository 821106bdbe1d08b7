// Backup, restore and the accounts summary: the configuration's operations
// over the whole data set of the data folder.

#include <utility>

#include "core/accounts/account_summary_row.h"
#include "core/accounts/configuration.h"
#include "core/common/text.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr char16_t config_file_name[] = u"Config.dat";
constexpr char16_t trip_file_name[] = u"Trip.tri";
constexpr std::u16string_view account_extensions[] = {u".ful", u".mat", u".fee"};

std::u16string as_folder(std::u16string_view folder) {
    std::u16string f(folder);
    if (!f.empty() && f.back() != u'\\') f += u'\\';
    return f;
}

// Copies one file over another so that the target is either the old file or
// the whole new one, never a piece. A missing source is no failure: the
// backup set simply does not hold that file.
bool copy_whole(std::u16string_view from, std::u16string_view to) {
    file_system& fs = device_files();
    if (!fs.file_exists(from)) return true;
    const std::u16string temporary = atomic_file_writer::temporary_path(to);
    if (fs.copy_file(from, temporary, true) && fs.replace_file(temporary, to)) return true;
    fs.delete_file(temporary);
    return false;
}

// The record files of every registered account, by name within a folder.
std::vector<std::u16string> account_file_names(const configuration& config) {
    std::vector<std::u16string> names;
    for (int i = 0; i < configuration::max_accounts; ++i) {
        const std::u16string account = config.account_slot(i);
        // A name that is no plain file name (a damaged Config.dat) must not
        // lead a copy outside the folders.
        if (account.empty() || !configuration::is_valid_account_name(account)) continue;
        for (auto ext : account_extensions) names.push_back(account + std::u16string(ext));
    }
    return names;
}

}  // namespace

data_set_copy configuration::backup_to_folder(std::u16string_view folder_text) {
    if (folder_text.empty()) return data_set_copy::no_folder;
    const std::u16string folder = as_folder(folder_text);
    make_folder_path(folder);
    if (!device_files().folder_exists(folder.substr(0, folder.size() - 1)))
        return data_set_copy::no_folder;

    const std::u16string open = stores_.fuel ? stores_.fuel->account_name() : std::u16string();
    // The files must hold what the stores hold. A store that cannot write
    // keeps its changes in memory and the backup stops, rather than copying
    // stale files or dropping the changes when the stores are reloaded.
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees}) {
        if (!store || store->account_name().empty()) continue;
        if (!store->save_all()) return data_set_copy::not_saved;
        store->clear_dirty();  // written: the reset below need not write it again
    }
    // Nothing is owed any more, so these resets write nothing.
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
        if (store) (void)store->reset();

    const std::u16string source = data_folder();
    bool ok = true;
    for (const std::u16string& name : account_file_names(*this))
        ok = copy_whole(source + name, folder + name) && ok;
    ok = copy_whole(source + config_file_name, folder + config_file_name) && ok;
    ok = copy_whole(source + trip_file_name, folder + trip_file_name) && ok;

    // The stores hold the same files as before the backup; a file that did
    // not load then does not load now either, and its store stays as it was:
    // empty, keeping a copy of the file before anything writes over it.
    if (!open.empty())
        for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
            if (store) (void)store->load(source, open, false);
    return ok ? data_set_copy::done : data_set_copy::incomplete;
}

data_set_copy configuration::restore_from_folder(std::u16string_view folder_text) {
    if (folder_text.empty()) return data_set_copy::no_folder;
    const std::u16string folder = as_folder(folder_text);
    file_system& fs = device_files();
    // Without its Config.dat a folder is no backup; restoring from it would
    // mix its files with the current data.
    if (!fs.file_exists(folder + config_file_name)) return data_set_copy::no_folder;

    const std::u16string target = data_folder();
    // A data folder that is not there yet (a fresh device) is made.
    make_folder_path(target);
    if (!copy_whole(folder + config_file_name, target + config_file_name))
        return data_set_copy::incomplete;
    // What the stores hold belongs to the data being replaced; it must never
    // be written over the restored files (at the latest at program end).
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
        if (store) store->clear_dirty();
    bool ok = copy_whole(folder + trip_file_name, target + trip_file_name);
    // The Config.dat just copied is there: the load reads it.
    (void)load_config();
    // Account files the backup does not name stay in the data folder.
    for (const std::u16string& name : account_file_names(*this))
        ok = copy_whole(folder + name, data_folder() + name) && ok;
    return ok ? data_set_copy::done : data_set_copy::incomplete;
}

auto_backup_result configuration::auto_backup_if_due() {
    const local_time today = device_clock().now();
    if (today.day % 3 != 0) return auto_backup_result::not_due;
    if (block_.last_auto_backup_year == today.year &&
        block_.last_auto_backup_month == today.month && block_.last_auto_backup_day == today.day)
        return auto_backup_result::not_due;
    set_last_auto_backup(today.year, today.month, today.day);
    // The backup is made even when the day could not be recorded; the next
    // start that day then makes it once more.
    const bool day_saved = save_config();
    const bool copied = backup_to_folder(auto_backup_folder()) == data_set_copy::done;
    return day_saved && copied ? auto_backup_result::done : auto_backup_result::failed;
}

double configuration::fill_account_summary(std::vector<account_summary_row>& rows) const {
    rows.clear();
    double total = 0;
    const std::u16string folder = data_folder();
    for (int i = 0; i < max_accounts; ++i) {
        const std::u16string name = account_slot(i);
        if (name.empty()) continue;
        fuel_header fuel{};
        service_header maintenance{};
        fee_header fees{};
        // A damaged file has been shown to the owner and counts as zero.
        if (is_valid_account_name(name)) {
            fuel = fuel_store::read_account_header(folder, name).header;
            maintenance = service_store::read_account_header(folder, name).header;
            fees = fee_store::read_account_header(folder, name).header;
        }
        const double cost = fuel.total_fuel_cost + maintenance.total_cost + fees.total_cost;
        rows.insert(rows.begin(), account_summary_row{name, format("%.f", fuel.current_mileage),
                                                      format("%.f", cost)});
        total += cost;
    }
    return total;
}

}  // namespace kelvane
