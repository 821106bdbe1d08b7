#include "gui/accounts/data_backup.h"

#include "core/accounts/data_set_copier.h"
#include "core/common/translate.h"
#include "gui/shell/program.h"
#include "gui/tools/folder_chooser.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/owner_messages.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// Asks for the folder of a manual backup, starting at the manual-backup
// folder in My Documents; empty when the owner cancelled.
std::u16string ask_for_backup_folder(program& prog, std::u16string_view prompt) {
    folder_chooser::options o;
    o.start_path =
        device().personal_folder() + u"\\" + kelvane::tr(u"Kelvane_backup_manual") + u"\\";
    o.prompt = std::u16string(prompt) + u":";
    return choose_folder(prog.skin, std::move(o));
}

}  // namespace

bool back_up_data(program& prog, device_dialog& screen) {
    const std::u16string folder =
        ask_for_backup_folder(prog, kelvane::tr(u"Please select backup location"));
    if (folder.empty()) return false;
    if (show_message(u"Do you want to store the backup data at the selected location? If the "
                     u"backup file exists, it will be overwritten.",
                     message_buttons::yes_no) == message_answer::no)
        return false;
    data_set_copy copied;
    {
        menu_work work(prog.skin, screen, kelvane::tr(u"Storing the backup..."));
        copied = data_set_copier(prog.config).backup_to_folder(folder);
    }
    show_message(backup_message(copied));
    return true;
}

bool restore_data(program& prog, device_dialog& screen) {
    const std::u16string folder =
        ask_for_backup_folder(prog, kelvane::tr(u"Please select backup data location"));
    if (folder.empty()) return false;
    if (show_message(u"Do you want to restore the data from the selected location? The current "
                     u"data will be deleted.",
                     message_buttons::yes_no) == message_answer::no)
        return false;
    data_set_copy copied;
    {
        menu_work work(prog.skin, screen, kelvane::tr(u"Restoring the backup..."));
        copied = data_set_copier(prog.config).restore_from_folder(folder);
    }
    switch (copied) {
        case data_set_copy::unreadable:
            // The owner was told the backup's Config.dat is damaged; nothing
            // was copied and the program goes on with its own data.
            return false;
        case data_set_copy::no_folder:
        case data_set_copy::rolled_back:
            // Nothing was copied: the data folder kept every file it had, and
            // the program goes on and writes what it owes at its end as usual.
            show_message(restore_message(copied));
            return false;
        case data_set_copy::done:
        case data_set_copy::not_saved:
        case data_set_copy::incomplete:
            break;
    }
    // What the open stores and the trips in memory hold belongs to the data
    // that was replaced: the program ends before anything can write it, and
    // its end writes the restored configuration and nothing of the stores.
    show_untranslated(kelvane::tr(restore_message(copied)) + u" " +
                      kelvane::tr(u"Program will exit now. Please restart this program."));
    return true;
}

}  // namespace kelvane
