#pragma once
// Reading a language's package out of a Setup file.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "setup/setup_layout.h"

namespace kelvane {

// Reads the package of the language from the Setup file at path. False, with
// package empty, when the file cannot be opened or read, is shorter than the
// first package offset, or when the stored length is 0, larger than the
// installer takes, or runs past the end of the file: a damaged or cut
// download is refused before anything is written.
bool read_setup_package(file_system& fs, std::u16string_view path, setup_language language,
                        std::vector<std::uint8_t>& package);

}  // namespace kelvane
