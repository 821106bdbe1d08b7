#include "gui/shell/screens.h"

#include "gui/accounts/accounts_page.h"
#include "gui/accounts/data_backup.h"
#include "gui/accounts/options_dialog.h"
#include "gui/charts/reports_page.h"
#include "gui/records/fees_page.h"
#include "gui/records/fuel_page.h"
#include "gui/records/record_transfer.h"
#include "gui/records/service_page.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"
#include "gui/tools/about_dialog.h"
#include "gui/tools/key_mapping_dialog.h"
#include "gui/trips/trip_records_export.h"
#include "gui/trips/trips_page.h"

namespace kelvane {

void install_screens(program& prog) {
    // Each screen adds its page maker (prog.pages[tab]) or its tool command
    // handler (prog.commands[command id]) here.
    auto maker_of = [&prog](page_id id) -> page_maker& {
        return prog.pages[static_cast<std::size_t>(tab_of(id))];
    };
    prog.commands[cmd::set_key_mapping] = [](main_screen& s) { open_key_mapping(s.prog().keys); };
    prog.commands[cmd::about] = [](main_screen&) { open_about(); };
    maker_of(page_id::fuel) = [](program& p, QWidget* parent) {
        return std::make_unique<fuel_page>(p, parent);
    };
    maker_of(page_id::service) = [](program& p, QWidget* parent) {
        return std::make_unique<service_page>(p, parent);
    };
    maker_of(page_id::fees) = [](program& p, QWidget* parent) {
        return std::make_unique<fees_page>(p, parent);
    };
    maker_of(page_id::accounts) = [](program& p, QWidget* parent) {
        return std::make_unique<accounts_page>(p, parent);
    };
    prog.commands[cmd::options] = [](main_screen& screen) {
        options_dialog options(screen.prog());
        options.exec();
    };
    maker_of(page_id::trips) = [](program& p, QWidget* parent) {
        return std::make_unique<trips_page>(p, parent);
    };
    prog.commands[cmd::export_account] = [](main_screen& s) {
        export_account_records(s.prog(), s);
    };
    prog.commands[cmd::export_trip] = [](main_screen& s) { export_one_trip(s.prog(), s); };
    prog.commands[cmd::import_records] = [](main_screen& s) {
        // The reports and accounts pages read the files when they are next shown.
        if (import_records(s.prog(), s) && s.current_page() != page_id::reports &&
            s.current_page() != page_id::accounts)
            s.refresh_shown_page();
    };
    prog.commands[cmd::manual_backup] = [](main_screen& s) {
        // The stores were written and read again for the copy: the fuel page
        // reads them now, whichever page is on show.
        if (!back_up_data(s.prog(), s)) return;
        s.page(page_id::fuel)->refresh();
        if (s.current_page() != page_id::fuel) s.refresh_shown_page();
    };
    prog.commands[cmd::manual_restore] = [](main_screen& s) {
        if (restore_data(s.prog(), s)) s.end_dialog(device_dialog::confirmed);
    };
    maker_of(page_id::reports) = [](program& p, QWidget* parent) {
        return std::make_unique<reports_page>(p, parent);
    };
}

}  // namespace kelvane
