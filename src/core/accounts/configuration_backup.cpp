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

bool configuration::backup_to_folder(std::u16string_view folder_text) {
    if (folder_text.empty()) return false;
    const std::u16string folder = as_folder(folder_text);
    make_folder_path(folder);
    if (!device_files().folder_exists(folder.substr(0, folder.size() - 1))) return false;

    const std::u16string open = stores_.fuel ? stores_.fuel->account_name() : std::u16string();
    // The files must hold what the stores hold. A store that cannot write
    // keeps its changes in memory and the backup stops, rather than copying
    // stale files or dropping the changes when the stores are reloaded.
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees}) {
        if (!store || store->account_name().empty()) continue;
        if (!store->save_all()) return false;
        store->clear_dirty();  // written: the reset below need not write it again
    }
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
        if (store) store->reset();

    const std::u16string source = data_folder();
    bool ok = true;
    for (const std::u16string& name : account_file_names(*this))
        ok = copy_whole(source + name, folder + name) && ok;
    ok = copy_whole(source + config_file_name, folder + config_file_name) && ok;
    ok = copy_whole(source + trip_file_name, folder + trip_file_name) && ok;

    if (!open.empty())
        for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
            if (store) store->load(source, open, false);
    return ok;
}

bool configuration::restore_from_folder(std::u16string_view folder_text) {
    if (folder_text.empty()) return false;
    const std::u16string folder = as_folder(folder_text);
    file_system& fs = device_files();
    // Without its Config.dat a folder is no backup; restoring from it would
    // mix its files with the current data.
    if (!fs.file_exists(folder + config_file_name)) return false;

    const std::u16string target = data_folder();
    if (!copy_whole(folder + config_file_name, target + config_file_name)) return false;
    // What the stores hold belongs to the data being replaced; it must never
    // be written over the restored files (at the latest at program end).
    for (account_store* store : {stores_.fuel, stores_.maintenance, stores_.fees})
        if (store) store->clear_dirty();
    bool ok = copy_whole(folder + trip_file_name, target + trip_file_name);
    load_config();
    // Account files the backup does not name stay in the data folder.
    for (const std::u16string& name : account_file_names(*this))
        ok = copy_whole(folder + name, data_folder() + name) && ok;
    return ok;
}

bool configuration::auto_backup_if_due() {
    const local_time today = device_clock().now();
    if (today.day % 3 != 0) return false;
    if (block_.last_auto_backup_year == today.year &&
        block_.last_auto_backup_month == today.month && block_.last_auto_backup_day == today.day)
        return false;
    set_last_auto_backup(today.year, today.month, today.day);
    save_config();
    return backup_to_folder(auto_backup_folder());
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
        if (is_valid_account_name(name)) {
            fuel = fuel_store::read_account_header(folder, name);
            maintenance = service_store::read_account_header(folder, name);
            fees = fee_store::read_account_header(folder, name);
        }
        const double cost =
            fuel.total_fuel_cost + maintenance.total_repair_cost + fees.total_fees_cost;
        rows.insert(rows.begin(), account_summary_row{name, format("%.f", fuel.current_mileage),
                                                      format("%.f", cost)});
        total += cost;
    }
    return total;
}

}  // namespace kelvane
