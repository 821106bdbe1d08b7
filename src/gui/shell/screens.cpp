#include "gui/shell/screens.h"

#include "gui/charts/reports_page.h"
#include "gui/shell/program.h"
#include "gui/trips/trips_page.h"

namespace kelvane {

void install_screens(program& prog) {
    // Each screen adds its page maker (prog.pages[index]) or its tool command
    // handler (prog.commands[command id]) here.
    prog.pages[trips_page::page_index] = [](program& p, QWidget* parent) {
        return std::make_unique<trips_page>(p, parent);
    };
    prog.pages[reports_page::page_index] = [](program& p, QWidget* parent) {
        return std::make_unique<reports_page>(p, parent);
    };
}

}  // namespace kelvane
