#pragma once
// Commands of the main screen's menu. The screens that carry the tool
// commands plug their handlers into the program (program::commands).

namespace kelvane {

namespace cmd {
inline constexpr int purchase_fuel = 32772;
inline constexpr int new_fees = 32773;
inline constexpr int new_repair = 32774;
inline constexpr int new_trip = 32775;
inline constexpr int new_account = 32776;  // "Add Auto"
inline constexpr int edit = 32777;
inline constexpr int options = 32778;
inline constexpr int about = 32781;
inline constexpr int manual_backup = 32782;
inline constexpr int export_account = 32783;
inline constexpr int manual_restore = 32784;
inline constexpr int import_records = 32785;
inline constexpr int show_page_again = 32794;
inline constexpr int exit = 32796;
inline constexpr int set_key_mapping = 32798;
inline constexpr int export_trip = 32816;
}  // namespace cmd

}  // namespace kelvane
