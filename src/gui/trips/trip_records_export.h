#pragma once
// "Export Trip" of the main menu: the owner picks a trip and a file, and the
// records of the trip's vehicles within its dates are written to it with the
// pointer busy and a line above the menu bar saying so.

namespace kelvane {

class device_dialog;
struct program;

// screen: the main screen, under whose menu bar the work is shown.
void export_one_trip(program& prog, device_dialog& screen);

}  // namespace kelvane
