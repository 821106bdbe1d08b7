#pragma once
// The desktop application manager, carried on this machine by a stand-in: it
// reads the description file Setup wrote, opens the cabinet it names and
// installs the cabinet's files into the program's folder on the device.
// Nothing is installed from a cabinet that is damaged or that names a file
// outside the program folder, and a failed write leaves the installed
// program as it was.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace kelvane {

struct package_description {
    std::string description;
    std::vector<std::string> cabinets;  // file names, relative to the description's folder
};

// Reads an application-manager description. False, with a reason, when it
// cannot be read or names no cabinet.
bool read_package_description(const std::filesystem::path& file, package_description& out,
                              std::string& error);

// The file of that name in the folder; when there is none, one whose name
// differs only in ASCII case, as the desktop's file system finds it.
std::optional<std::filesystem::path> find_ignoring_case(const std::filesystem::path& folder,
                                                        std::string_view name);

// True when a cabinet entry's name stays inside the folder it is installed
// into: relative, no ".." or "." part, no empty part, no drive and no
// control characters.
bool entry_stays_inside(std::string_view name);

struct install_result {
    bool ok = false;
    std::string message;                    // what went wrong, for the person
    std::vector<std::u16string> files;      // device paths installed
    std::optional<std::u16string> program;  // the installed program file, if any
};

// Installs a cabinet's files below program_folder (a device path ending in
// '\'). Each file is written beside its target first and moved over it only
// when every file was written. A language file replaces its cache, which
// would otherwise still be preferred. mark_executable is called with the
// staged path of each program file before it is moved into place; false
// there fails the install like a failed write.
install_result install_cabinet(
    file_system& device, std::span<const std::uint8_t> cabinet, std::u16string_view program_folder,
    const std::function<bool(std::u16string_view staged)>& mark_executable);

}  // namespace kelvane
