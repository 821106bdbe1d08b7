#pragma once
// Backup and restore of the whole data set from the main menu: each asks
// for the folder, asks the owner to confirm, copies with the pointer busy
// and a line above the menu bar saying what is being done, and tells the
// owner what came of it.

namespace kelvane {

class device_dialog;
struct program;

// screen: the main screen, under whose menu bar the work is shown. True when
// the stores were written and read again for the copy: the pages read them
// again.
[[nodiscard]] bool back_up_data(program& prog, device_dialog& screen);
// True when the program must end now: files were copied back, and the next
// start must read the restored files with nothing of the old data written
// over them.
[[nodiscard]] bool restore_data(program& prog, device_dialog& screen);

}  // namespace kelvane
