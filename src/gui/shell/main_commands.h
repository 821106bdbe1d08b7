#pragma once
// Commands of the main screen's menu, and the place where the screens that
// carry them plug in their handlers.

#include <functional>

namespace kelvane {

class main_screen;

namespace cmd {
inline constexpr int purchase_fuel = 32772;
inline constexpr int new_fees = 32773;
inline constexpr int new_repair = 32774;
inline constexpr int new_trip = 32775;
inline constexpr int add_auto = 32776;
inline constexpr int edit = 32777;
inline constexpr int options = 32778;
inline constexpr int about = 32781;
inline constexpr int manual_backup = 32782;
inline constexpr int export_account = 32783;
inline constexpr int manual_restore = 32784;
inline constexpr int import_records = 32785;
inline constexpr int new_show_again = 32794;
inline constexpr int exit = 32796;
inline constexpr int set_key_mapping = 32798;
inline constexpr int export_trip = 32816;
}  // namespace cmd

// A tool command (options, export, import, backup, restore, about, key
// mapping, trip export) is carried out by the handler registered for it; a
// command without one tells the owner it is not available yet.
using command_handler = std::function<void(main_screen&)>;
void register_command(int command, command_handler handler);
bool has_command_handler(int command);
void clear_command_handlers();

}  // namespace kelvane
