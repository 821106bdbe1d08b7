#include "core/accounts/data_set_copier.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/accounts/configuration.h"
#include "core/accounts/staged_file_set.h"
#include "core/common/folders.h"
#include "core/common/messages.h"
#include "core/common/problems.h"
#include "core/common/text.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr char16_t config_file_name[] = u"Config.dat";
constexpr char16_t trip_file_name[] = u"Trip.tri";
constexpr std::u16string_view account_extensions[] = {u".ful", u".mat", u".fee"};
constexpr char16_t msg_damaged_not_copied[] =
    u"This file is damaged and was not copied; the copy that was there before is kept:";

std::u16string as_folder(std::u16string_view folder) {
    std::u16string f(folder);
    if (!f.empty() && f.back() != u'\\') f += u'\\';
    return f;
}

// The record files of the registered accounts, by name within a folder.
std::vector<std::u16string> account_file_names(const configuration::config_block& block) {
    std::vector<std::u16string> names;
    for (const auto& slot : block.account_names) {
        const std::u16string account = fixed_text(slot);
        // A name that is no plain file name (a damaged Config.dat) must not
        // lead a copy outside the folders.
        if (account.empty() || !configuration::is_valid_account_name(account)) continue;
        for (auto ext : account_extensions) names.push_back(account + std::u16string(ext));
    }
    return names;
}

// Whether a file of the backup set is there, and whether it could be used:
// only what the program could load is worth a copy over an older one.
load_result state_of(const std::u16string& path, std::u16string_view name) {
    file_system& fs = device_files();
    if (!fs.file_exists(path)) return load_result::missing;
    if (name == config_file_name) {
        std::vector<std::uint8_t> bytes;
        auto file = fs.open_read(path);
        if (!file) return load_result::damaged;
        bytes.resize(sizeof(configuration::config_block));
        std::size_t got = 0;
        while (got < bytes.size()) {
            const std::size_t n = file->read(bytes.data() + got, bytes.size() - got);
            if (n == 0) break;
            got += n;
        }
        file->close();
        return configuration::is_whole_config(bytes.data(), got) ? load_result::loaded
                                                                 : load_result::damaged;
    }
    if (name.ends_with(u".ful")) return fuel_store::check_file(path);
    if (name.ends_with(u".mat")) return service_store::check_file(path);
    if (name.ends_with(u".fee")) return fee_store::check_file(path);
    return trip_store::check_file(path);
}

// Puts the files of the set that are there into the staged set; one that is
// missing goes from the target too, so that the target never mixes the new
// set with an older file (trips naming vehicles the set does not have). A
// damaged one is left out, so that the target keeps its own copy, and the
// owner is told. False when a sound file could not be copied whole.
bool stage_files(staged_file_set& set, const std::u16string& source,
                 const std::vector<std::u16string>& names, bool& left_out) {
    for (const std::u16string& name : names) {
        switch (state_of(source + name, name)) {
            case load_result::missing:
                set.add_removal(name);
                break;
            case load_result::damaged:
                report_problem(msg_damaged_not_copied, source + name);
                left_out = true;
                break;
            case load_result::loaded:
                if (!set.add_copy(source + name, name)) return false;
                break;
        }
    }
    return true;
}

}  // namespace

data_set_copy data_set_copier::backup_to_folder(std::u16string_view folder_text) {
    if (folder_text.empty()) return data_set_copy::no_folder;
    const std::u16string folder = as_folder(folder_text);
    std::vector<std::u16string> made;
    if (!make_folder_path(folder, &made)) {
        remove_made_folders(made);
        return data_set_copy::no_folder;
    }

    const std::u16string open =
        config_.stores().fuel ? config_.stores().fuel->account_name() : std::u16string();
    // The files must hold what the stores hold. A store that cannot write
    // keeps its changes in memory and the backup stops, rather than copying
    // stale files or dropping the changes when the stores are reloaded.
    for (account_store* store :
         {config_.stores().fuel, config_.stores().service, config_.stores().fees}) {
        if (!store || store->account_name().empty()) continue;
        if (!store->save_all()) {
            remove_made_folders(made);
            return data_set_copy::not_saved;
        }
        store->clear_dirty();  // written: the reset below need not write it again
    }
    // Nothing is owed any more, so these resets write nothing.
    for (account_store* store :
         {config_.stores().fuel, config_.stores().service, config_.stores().fees})
        if (store) (void)store->reset();

    // The new set is made whole beside the old one and only then takes its
    // place; until then the folder keeps the backup it held.
    const std::u16string source = config_.data_folder();
    std::vector<std::u16string> names = account_file_names(config_.block());
    names.push_back(config_file_name);
    names.push_back(trip_file_name);
    bool left_out = false;
    staged_file_set::outcome outcome = staged_file_set::outcome::rolled_back;
    {
        staged_file_set set(folder);
        if (set.begin() && stage_files(set, source, names, left_out)) outcome = set.commit();
    }

    // The stores hold the same files as before the backup; a file that did
    // not load then does not load now either, and its store stays as it was:
    // empty, keeping a copy of the file before anything writes over it.
    if (!open.empty())
        for (account_store* store :
             {config_.stores().fuel, config_.stores().service, config_.stores().fees})
            if (store) (void)store->load(source, open, false);
    if (outcome == staged_file_set::outcome::rolled_back) return data_set_copy::rolled_back;
    return outcome == staged_file_set::outcome::done && !left_out ? data_set_copy::done
                                                                  : data_set_copy::incomplete;
}

data_set_copy data_set_copier::restore_from_folder(std::u16string_view folder_text) {
    if (folder_text.empty()) return data_set_copy::no_folder;
    const std::u16string folder = as_folder(folder_text);
    file_system& fs = device_files();
    // A backup stopped while it moved into the folder is finished first;
    // a folder where that cannot be done safely is not restored from.
    if (!staged_file_set::finish_interrupted(folder)) return data_set_copy::rolled_back;
    // Without its Config.dat a folder is no backup; restoring from it would
    // mix its files with the current data.
    if (!fs.file_exists(folder + config_file_name)) return data_set_copy::no_folder;
    std::vector<std::uint8_t> bytes;
    if (!read_whole_file(fs, folder + config_file_name, bytes) ||
        !configuration::is_whole_config(
            bytes.data(), std::min(bytes.size(), sizeof(configuration::config_block)))) {
        report_problem(msg_damaged_not_copied, folder + config_file_name);
        return data_set_copy::unreadable;
    }
    configuration::config_block restored;
    std::memcpy(&restored, bytes.data(), sizeof restored);

    const std::u16string target = config_.data_folder();
    // A data folder that is not there yet (a fresh device) is made.
    make_folder_path(target);
    std::vector<std::u16string> names{config_file_name, trip_file_name};
    for (std::u16string& name : account_file_names(restored)) names.push_back(std::move(name));
    bool left_out = false;
    staged_file_set::outcome outcome = staged_file_set::outcome::rolled_back;
    {
        staged_file_set set(target);
        if (set.begin() && stage_files(set, folder, names, left_out)) outcome = set.commit();
    }
    if (outcome == staged_file_set::outcome::rolled_back) return data_set_copy::rolled_back;

    // What the stores hold belongs to the data replaced; it must never be
    // written over the restored files (at the latest at program end).
    for (account_store* store :
         {config_.stores().fuel, config_.stores().service, config_.stores().fees})
        if (store) store->clear_dirty();
    // A set still waiting to move into place is finished by this load.
    (void)config_.load_config();
    return outcome == staged_file_set::outcome::done && !left_out ? data_set_copy::done
                                                                  : data_set_copy::incomplete;
}

auto_backup_result data_set_copier::auto_backup_if_due() {
    const local_time today = device_clock().now();
    if (today.day % 3 != 0) return auto_backup_result::not_due;
    if (config_.last_auto_backup_year() == today.year &&
        config_.last_auto_backup_month() == today.month &&
        config_.last_auto_backup_day() == today.day)
        return auto_backup_result::not_due;
    config_.set_last_auto_backup(today.year, today.month, today.day);
    // The backup is made even when the day could not be recorded; the next
    // start that day then makes it once more.
    const bool day_saved = config_.save_config();
    const bool copied = backup_to_folder(config_.auto_backup_folder()) == data_set_copy::done;
    return day_saved && copied ? auto_backup_result::done : auto_backup_result::failed;
}

std::u16string_view backup_message(data_set_copy copied) {
    switch (copied) {
        case data_set_copy::done:
            return u"Backup data is stored in the selected location.";
        case data_set_copy::no_folder:
            return u"Backup failed: the selected location cannot be created. Nothing was stored.";
        case data_set_copy::not_saved:
            return u"Backup failed: the open account's records could not be written first. "
                   u"Nothing was stored.";
        case data_set_copy::rolled_back:
            return u"Backup failed: the files could not all be written to the selected location. "
                   u"It keeps what it held before.";
        case data_set_copy::incomplete:
        case data_set_copy::unreadable:  // a backup reads no Config.dat of the folder
            break;
    }
    return u"Backup is incomplete: some files could not be copied to the selected location.";
}

std::u16string_view restore_message(data_set_copy copied) {
    switch (copied) {
        case data_set_copy::done:
            return u"Selected data is restored.";
        case data_set_copy::unreadable:
            return {};
        case data_set_copy::no_folder:
            return u"The selected location holds no backup (Config.dat is missing). "
                   u"Nothing was restored.";
        case data_set_copy::rolled_back:
            return u"The backup could not be restored: the files could not all be written. "
                   u"Nothing was restored.";
        case data_set_copy::not_saved:
        case data_set_copy::incomplete:
            break;
    }
    return u"Some files could not be restored.";
}

}  // namespace kelvane
