#include "gui/shell/tool_commands.h"

#include <memory>

#include "core/common/messages.h"
#include "core/exchange/export_import.h"
#include "core/trips/trip_export.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"
#include "gui/tools/folder_chooser.h"
#include "gui/tools/text_prompt.h"
#include "gui/trips/trip_picker.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/choice_picker.h"
#include "gui/widgets/text_label.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr char16_t csv_extension[] = u".csv";
constexpr int fuel_page_index = 0;

// Long work from the main menu: the pointer is busy and a line just above
// the menu bar says what is being done, for as long as the object lives.
class menu_work {
public:
    menu_work(main_screen& screen, std::u16string_view text)
        : line_(make_progress_line(screen.prog().skin, &screen)) {
        const QRect area = screen.client_rect();
        const int height = line_->font_height + 6;
        line_->setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
        busy_ = std::make_unique<busy_work>(line_.get());
        busy_->step(text);
    }
    menu_work(const menu_work&) = delete;
    menu_work& operator=(const menu_work&) = delete;

private:
    std::unique_ptr<text_label> line_;
    std::unique_ptr<busy_work> busy_;  // ends before its line goes
};

export_import transfer_of(program& prog) {
    return export_import(prog.fuel, prog.service, prog.fees);
}

// Asks for the file to export to or import from; empty when the owner
// cancelled or left the box empty.
std::u16string ask_for_file(program& prog, std::u16string prompt, std::u16string_view name) {
    text_prompt::options o;
    o.prompt = std::move(prompt);
    o.initial_text = export_import::default_path(prog.config.data_folder(), name);
    o.extension = csv_extension;
    return prompt_for_text(prog.skin, std::move(o));
}

// Asks for the folder of a manual backup, starting at the manual-backup
// folder in My Documents; empty when the owner cancelled.
std::u16string ask_for_backup_folder(program& prog, std::u16string_view prompt) {
    folder_chooser::options o;
    o.start_path =
        device().personal_folder() + u"\\" + kelvane::tr(u"Kelvane_backup_manual") + u"\\";
    o.prompt = std::u16string(prompt) + u":";
    return choose_folder(prog.skin, std::move(o));
}

// The owner's pick from a full-screen list; none when cancelled.
std::optional<std::u16string> pick_one(const std::vector<std::u16string>& texts) {
    choice_picker picker(texts, std::vector<std::u16string>(texts.size()));
    picker.text_column = 228;  // the texts are whole sentences, with no notes beside them
    if (picker.exec() != choice_picker::confirmed) return std::nullopt;
    return picker.picked();
}

void refresh_page_on_show(main_screen& screen) {
    if (main_page* shown = screen.page(screen.prog().shell.current_page)) shown->refresh();
}

}  // namespace

void export_account_records(main_screen& screen) {
    program& prog = screen.prog();
    if (prog.fuel.fresh()) {
        show_message(msg_open_account);
        return;
    }
    const std::u16string path =
        ask_for_file(prog, kelvane::tr(u"Please enter export file name"), prog.fuel.account_name());
    if (path.empty()) return;
    menu_work work(screen, kelvane::tr(u"Exporting records..."));
    // A file that cannot be written has been reported; nothing follows a
    // written one.
    (void)transfer_of(prog).export_account(path);
}

void export_one_trip(main_screen& screen) {
    program& prog = screen.prog();
    const std::u16string description =
        pick_trip(prog.skin, prog.trips, kelvane::tr(u"Please choose trip") + u":");
    trip_store::record_type trip{};
    if (description.empty() || !prog.trips.find_trip(description, trip)) return;
    const std::u16string path = ask_for_file(prog, kelvane::tr(u"Please enter export file name"),
                                             file_name_part(description));
    if (path.empty()) return;
    menu_work work(screen, kelvane::tr(u"Exporting records..."));
    // The records come from the trip's own vehicles' files, whichever account
    // is open; a file that cannot be read or written has been reported.
    (void)export_trip_records(prog.config.data_folder(), {prog.fuel, prog.service, prog.fees}, trip,
                              path);
}

void import_records(main_screen& screen) {
    program& prog = screen.prog();
    if (prog.fuel.fresh()) {
        show_message(msg_open_account);
        return;
    }
    const std::u16string path =
        ask_for_file(prog, kelvane::tr(u"Please enter import file name"), prog.fuel.account_name());
    if (path.empty()) return;
    import_options options;
    import_summary summary;
    while (true) {
        {
            menu_work work(screen, kelvane::tr(u"Importing records..."));
            // A missing file and a store that could not write have been reported.
            summary = transfer_of(prog).import_file(path, options);
        }
        if (!summary.read) return;
        // A file that can be read two ways asks the owner which, then is
        // read again; nothing was added meanwhile.
        std::optional<std::u16string> picked;
        if (summary.refusal == import_refusal::ambiguous_dates &&
            options.dates == date_choice::automatic) {
            const std::vector<std::u16string> orders = {
                kelvane::tr(u"Day first: 03/05 = 3 May"),
                kelvane::tr(u"Month first: 03/05 = March 5")};
            show_untranslated(summary.why);
            picked = pick_one(orders);
            if (!picked) return;
            options.dates =
                *picked == orders[0] ? date_choice::day_first : date_choice::month_first;
            continue;
        }
        if (summary.refusal == import_refusal::several_vehicles && options.vehicle.empty() &&
            !summary.choices.empty()) {
            show_untranslated(summary.why);
            picked = pick_one(summary.choices);
            if (!picked) return;
            options.vehicle = *picked;
            continue;
        }
        break;
    }
    if (summary.refusal != import_refusal::none) {
        show_untranslated(summary.why + u"\n" + kelvane::tr(u"Nothing was imported."));
        return;
    }
    // The reports and accounts pages read the files when they are next shown.
    if (prog.shell.current_page >= 0 && prog.shell.current_page <= 3) refresh_page_on_show(screen);
    // A refusal or a store that could not write has said so; otherwise the
    // owner learns which layout was found, what came of the file and the
    // lines left out.
    if (!summary.write_failed && !summary.too_many) show_untranslated(import_report(summary));
}

void back_up_data(main_screen& screen) {
    program& prog = screen.prog();
    const std::u16string folder =
        ask_for_backup_folder(prog, kelvane::tr(u"Please select backup location"));
    if (folder.empty()) return;
    if (show_message(u"Do you want to store the backup data at the selected location? If the "
                     u"backup file exists, it will be overwritten.",
                     message_buttons::yes_no) == message_answer::no)
        return;
    data_set_copy copied;
    {
        menu_work work(screen, kelvane::tr(u"Storing the backup..."));
        copied = prog.config.backup_to_folder(folder);
    }
    switch (copied) {
        case data_set_copy::done:
            show_message(u"Backup data is stored in the selected location.");
            break;
        case data_set_copy::no_folder:
            show_message(
                u"Backup failed: the selected location cannot be created. Nothing was stored.");
            break;
        case data_set_copy::not_saved:
            show_message(
                u"Backup failed: the open account's records could not be written "
                u"first. Nothing was stored.");
            break;
        case data_set_copy::rolled_back:
            show_message(
                u"Backup failed: the files could not all be written to the selected location. "
                u"It keeps what it held before.");
            break;
        case data_set_copy::incomplete:
        case data_set_copy::unreadable:  // a backup reads no Config.dat of the folder
            show_message(
                u"Backup is incomplete: some files could not be copied to the selected "
                u"location.");
            break;
    }
    // The stores were written and read again for the copy.
    screen.page(fuel_page_index)->refresh();
    if (prog.shell.current_page != fuel_page_index) refresh_page_on_show(screen);
}

void restore_data(main_screen& screen) {
    program& prog = screen.prog();
    const std::u16string folder =
        ask_for_backup_folder(prog, kelvane::tr(u"Please select backup data location"));
    if (folder.empty()) return;
    if (show_message(u"Do you want to restore the data from the selected location? The current "
                     u"data will be deleted.",
                     message_buttons::yes_no) == message_answer::no)
        return;
    data_set_copy copied;
    {
        menu_work work(screen, kelvane::tr(u"Restoring the backup..."));
        copied = prog.config.restore_from_folder(folder);
    }
    switch (copied) {
        case data_set_copy::no_folder:
            // Nothing was copied: the program goes on with its own data.
            show_message(
                u"The selected location holds no backup (Config.dat is missing). "
                u"Nothing was restored.");
            return;
        case data_set_copy::unreadable:
            // The owner was told the backup's Config.dat is damaged; nothing
            // was copied and the program goes on with its own data.
            return;
        case data_set_copy::rolled_back:
            // The data folder kept every file it had: the program goes on
            // and writes what it owes at its end as usual.
            show_message(
                u"The backup could not be restored: the files could not all be written. "
                u"Nothing was restored.");
            return;
        case data_set_copy::done:
            show_message(
                u"Selected data is restored. Program will exit now. Please restart this "
                u"program.");
            break;
        case data_set_copy::not_saved:
        case data_set_copy::incomplete:
            show_message(
                u"Some files could not be restored. Program will exit now. Please "
                u"restart this program.");
            break;
    }
    // What the open stores and the trips in memory hold belongs to the data
    // that was replaced: the program ends before anything can write it, and
    // its end writes the restored configuration and nothing of the stores.
    screen.end_dialog(device_dialog::confirmed);
}

}  // namespace kelvane
