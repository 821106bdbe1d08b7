#pragma once
// The first start on a device: the program's folder is made, and the files
// that come with the program (the help document and the language files) are
// put there when they are missing.

class QString;

namespace kelvane {

// Writes the bundled files that are missing; an existing file is never
// overwritten (the owner may have replaced it). False when a file could not
// be written.
bool install_bundled_files();

// The same from another folder of bundled files (a resource folder such as
// ":/kelvane", or a host folder): "Kelvane.htm" and every "*.lng" in it.
bool install_bundled_files_from(const QString& folder);

}  // namespace kelvane
