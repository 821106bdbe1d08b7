#pragma once
// Backup and restore of the whole data set of the data folder (Config.dat,
// Trip.tri and the three record files of every account), by hand and on the
// days of the automatic backup, and what the owner is told of each.

#include <string_view>

namespace kelvane {

class configuration;

// What a backup or a restore did.
// clang-format off
enum class [[nodiscard]] data_set_copy {
    done,
    // Backup: the folder could not be made. Restore: the folder holds no
    // Config.dat, so it is no backup. Nothing changed.
    no_folder,
    // Backup: an open store could not write its pending changes; nothing was
    // copied and the stores keep their changes in memory.
    not_saved,
    // The set could not be put in place whole, and the folder it went to
    // (the backup folder, or the data folder for a restore) keeps what it
    // held before; nothing changed.
    rolled_back,
    // A damaged file was left out (the owner was told its name) and the
    // older copy where it was going was kept; or the set was moved into place
    // only in part, and the next backup or restore finishes the move.
    incomplete,
    // Restore: the folder's Config.dat is damaged (the owner was told);
    // nothing changed.
    unreadable,
};
// clang-format on

// clang-format off
enum class [[nodiscard]] auto_backup_result {
    not_due,
    done,
    // The backup did not complete, or the day of it could not be recorded
    // in Config.dat.
    failed,
};
// clang-format on

class data_set_copier {
public:
    // The configuration names the data folder, the accounts and the open
    // account's stores, which write what they owe before a backup.
    explicit data_set_copier(configuration& config) : config_(config) {}

    // Copies the backup set into the folder, after the open account's stores
    // have written their pending changes; the stores then hold the same
    // account again. The new set replaces the folder's old one only once it
    // is whole (a backup stopped half way leaves the old one), and a damaged
    // file is never copied over the older copy there.
    data_set_copy backup_to_folder(std::u16string_view folder);
    // Copies a backup set from the folder back into the data folder and
    // reloads the configuration; what the stores hold in memory is never
    // written over it. All files or none replace the data folder's; a
    // damaged file of the backup is left out and the data folder's copy kept.
    data_set_copy restore_from_folder(std::u16string_view folder);
    // On days of the month divisible by three, once a day: stores today's
    // date and backs up into the automatic-backup folder. Nothing is shown
    // either way but the write error of Config.dat.
    auto_backup_result auto_backup_if_due();

private:
    configuration& config_;
};

// What the owner is told of a backup, in English (the caller translates).
std::u16string_view backup_message(data_set_copy copied);
// What the owner is told of a restore, in English; empty when the owner has
// been told already (the backup's Config.dat is damaged). After a restore
// that copied files the program ends, so that the next start reads the
// restored files: the caller says so.
std::u16string_view restore_message(data_set_copy copied);

}  // namespace kelvane
