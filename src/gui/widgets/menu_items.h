#pragma once
// Building dialog menus: item texts are English keys, translated here.

#include <string_view>
#include <vector>

#include "platform/qt/soft_menu_bar.h"

namespace kelvane {

soft_menu_item menu_command(std::u16string_view key, int command);
soft_menu_item menu_popup(std::u16string_view key, std::vector<soft_menu_item> items);
soft_menu_item menu_separator();

}  // namespace kelvane
