#include "gui/shell/shell_state.h"

namespace kelvane {

shell_state& shell() {
    static shell_state state;
    return state;
}

}  // namespace kelvane
