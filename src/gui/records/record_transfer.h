#pragma once
// Export and import of the open account's records from the main menu: each
// asks for its file, does the work with the pointer busy and a line above
// the menu bar saying what is being done, and tells the owner what came of
// it.

namespace kelvane {

class device_dialog;
struct program;

// screen: the main screen, under whose menu bar the work is shown.
void export_account_records(program& prog, device_dialog& screen);
// True when records were added to the open account: the pages that list
// them read them again.
[[nodiscard]] bool import_records(program& prog, device_dialog& screen);

}  // namespace kelvane
