#pragma once
// The main menu's data commands: export and import of the open account's
// records, export of one trip's records, and backup and restore of the whole
// data set. Each asks for its file or folder, does the work with the pointer
// busy and a line above the menu bar saying what is being done, and tells
// the owner what came of it.

namespace kelvane {

class main_screen;

void export_account_records(main_screen& screen);
void export_one_trip(main_screen& screen);
void import_records(main_screen& screen);
void back_up_data(main_screen& screen);
// Ends the program once the data has been copied back, so that the next
// start reads the restored files and nothing of the old data is written
// over them.
void restore_data(main_screen& screen);

}  // namespace kelvane
