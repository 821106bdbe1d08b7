#include "gui/shell/screens.h"

#include "gui/accounts/accounts_page.h"
#include "gui/accounts/options_dialog.h"
#include "gui/shell/main_commands.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"

namespace kelvane {

void install_screens(program& prog) {
    // Each screen adds its page maker (prog.pages[index]) or its tool command
    // handler (prog.commands[command id]) here.
    prog.pages[accounts_page::page_index] = [](program& p, QWidget* parent) {
        return std::make_unique<accounts_page>(p, parent);
    };
    prog.commands[cmd::options] = [](main_screen& screen) {
        options_dialog options(screen.prog());
        options.exec();
    };
}

}  // namespace kelvane
