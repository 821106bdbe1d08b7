#include "gui/shell/application.h"

#include "gui/shell/main_screen.h"
#include "gui/shell/program.h"

namespace kelvane {

void application::run(program& prog) {
    // A missing or damaged "Config_key.dat" leaves the built-in table.
    (void)prog.keys.load();
    {
        main_screen screen(prog);
        screen.exec();
    }
    prog.save_at_end();
}

}  // namespace kelvane
