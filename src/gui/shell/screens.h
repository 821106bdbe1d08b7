#pragma once
// The screens of the main screen's pages and tool commands, plugged into a
// program: the one place that knows every screen.

namespace kelvane {

struct program;

void install_screens(program& prog);

}  // namespace kelvane
