#pragma once
// The files the program keeps, told apart from what a person may write.

#include <string_view>

namespace kelvane {

// True when the path names one of the program's own files: a record file,
// Config.dat, Config_key.dat, a language file or cache, the program, a copy
// kept of a damaged file, or what the program keeps in its own folder (its
// help, the key log). An export or a picture is never written over one.
bool is_program_file(std::u16string_view path);

}  // namespace kelvane
