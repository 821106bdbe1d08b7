#pragma once
// The install step of the Setup wizard: the chosen package and the
// application manager's description file go to the temporary folder, and the
// manager is started on the description. The caller looks the manager up and
// starts it; this decides what happens and which message the user sees.

#include <optional>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "setup/setup_layout.h"
#include "setup/setup_platform.h"

namespace kelvane {

inline constexpr char16_t setup_package_file_name[] = u"KelvaneSetup.cab";
inline constexpr char16_t setup_description_file_name[] = u"KelvaneSetup.ini";
// The description file's exact bytes (ANSI, no terminating zero).
inline constexpr std::string_view setup_description_text =
    "[CEAppManager]\r\n"
    "Version      = 1.0\r\n"
    "Component    = App\r\n"
    "[App]\r\n"
    "Description  = Kelvane.\r\n"
    "CabFiles     = KelvaneSetup.CAB\r\n";

enum class install_outcome {
    start_manager,      // both files written: start the manager, show the finish page
    package_missing,    // the Setup file holds no usable package; nothing written
    write_failed,       // a file could not be written to the temporary folder
    manager_not_found,  // files written, but the manager is not installed
    program_running,    // Kelvane runs where it would be installed; nothing written
};

struct install_step {
    install_outcome outcome = install_outcome::package_missing;
    // The message to show in the chosen language; empty when starting the manager.
    std::u16string message;
    // For start_manager: the program to open and its parameter, the full path
    // of the description file.
    std::u16string manager;
    std::u16string parameters;
};

struct install_request {
    std::u16string setup_file;   // Setup's own file
    std::u16string temp_folder;  // the temporary folder, with or without trailing '\'
    setup_language language = setup_language::english;
    // The manager's path from the registry; nullopt when the key or its value is missing.
    std::optional<std::u16string> manager_path;
};

install_step install_package(file_system& fs, const install_request& request);

// The whole install step on the desktop: the files are written as above and
// the manager is started on the description. A manager that is registered
// but cannot be started counts as not found, so the wizard never reports a
// success that did not happen. Shows nothing; the caller shows the message.
install_step run_install(setup_platform& platform, setup_language language);

}  // namespace kelvane
