#include "gui/widgets/menu_items.h"

#include "core/common/translate.h"

namespace kelvane {

soft_menu_item menu_command(std::u16string_view key, int command) {
    return soft_menu_item{tr(key), command, {}, false};
}

soft_menu_item menu_popup(std::u16string_view key, std::vector<soft_menu_item> items) {
    return soft_menu_item{tr(key), 0, std::move(items), false};
}

soft_menu_item menu_separator() {
    return soft_menu_item{{}, 0, {}, true};
}

}  // namespace kelvane
