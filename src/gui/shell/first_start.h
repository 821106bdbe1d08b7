#pragma once
// The first start on a device: the program's folder is made, and the help
// document that comes with the program is put there when it is missing.

namespace kelvane {

// Writes the bundled files that are missing; an existing file is never
// overwritten (the owner may have replaced it). False when a file could not
// be written.
bool install_bundled_files();

}  // namespace kelvane
