#include "gui/shell/screens.h"

#include "gui/shell/program.h"

namespace kelvane {

void install_screens(program& prog) {
    // Each screen adds its page maker (prog.pages[index]) or its tool command
    // handler (prog.commands[command id]) here.
    (void)prog;
}

}  // namespace kelvane
