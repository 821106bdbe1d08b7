#include "gui/shell/screens.h"

#include "gui/accounts/accounts_page.h"
#include "gui/accounts/options_dialog.h"
#include "gui/charts/reports_page.h"
#include "gui/records/fees_page.h"
#include "gui/records/fuel_page.h"
#include "gui/records/service_page.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"
#include "gui/shell/tool_commands.h"
#include "gui/tools/about_dialog.h"
#include "gui/tools/key_mapping_dialog.h"
#include "gui/trips/trips_page.h"

namespace kelvane {

void install_screens(program& prog) {
    // Each screen adds its page maker (prog.pages[index]) or its tool command
    // handler (prog.commands[command id]) here.
    prog.commands[cmd::set_key_mapping] = [](main_screen& s) { open_key_mapping(s.prog().keys); };
    prog.commands[cmd::about] = [](main_screen&) { open_about(); };
    prog.pages[0] = [](program& p, QWidget* parent) {
        return std::make_unique<fuel_page>(p, parent);
    };
    prog.pages[1] = [](program& p, QWidget* parent) {
        return std::make_unique<service_page>(p, parent);
    };
    prog.pages[2] = [](program& p, QWidget* parent) {
        return std::make_unique<fees_page>(p, parent);
    };
    prog.pages[accounts_page::page_index] = [](program& p, QWidget* parent) {
        return std::make_unique<accounts_page>(p, parent);
    };
    prog.commands[cmd::options] = [](main_screen& screen) {
        options_dialog options(screen.prog());
        options.exec();
    };
    prog.pages[trips_page::page_index] = [](program& p, QWidget* parent) {
        return std::make_unique<trips_page>(p, parent);
    };
    prog.commands[cmd::export_account] = export_account_records;
    prog.commands[cmd::export_trip] = export_one_trip;
    prog.commands[cmd::import_records] = import_records;
    prog.commands[cmd::manual_backup] = back_up_data;
    prog.commands[cmd::manual_restore] = restore_data;
    prog.pages[reports_page::page_index] = [](program& p, QWidget* parent) {
        return std::make_unique<reports_page>(p, parent);
    };
}

}  // namespace kelvane
