#include "gui/shell/application.h"

#include <QApplication>

#include "core/tools/key_table.h"
#include "gui/shell/main_screen.h"
#include "gui/shell/program_data.h"
#include "gui/shell/shell_state.h"
#include "platform/qt/system_colours.h"

namespace kelvane {

void application::run() {
    // The handheld's extra shell controls need no set-up on a desktop.
    shell().layout_enabled = false;
    // A missing "Config_key.dat" leaves the built-in table.
    program_key_table().load();
    read_system_colours(QApplication::palette());
    {
        main_screen main_screen;
        main_screen.exec();
    }
    save_at_end();
}

}  // namespace kelvane
