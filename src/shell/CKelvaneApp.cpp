#include "shell/CKelvaneApp.h"

#include <QApplication>

#include "platform/qt/system_colours.h"
#include "shell/CKelvaneDlg.h"
#include "shell/program_data.h"
#include "shell/shell_state.h"
#include "tools/key_table.h"

namespace kelvane {

void CKelvaneApp::run() {
    // The handheld's extra shell controls need no set-up on a desktop.
    shell().layout_enabled = false;
    // A missing "Config_key.dat" leaves the built-in table.
    program_key_table().load();
    read_system_colours(QApplication::palette());
    {
        CKelvaneDlg main_screen;
        main_screen.exec();
    }
    save_at_end();
}

}  // namespace kelvane
