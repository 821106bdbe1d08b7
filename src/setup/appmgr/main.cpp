// appmgr: the desktop application manager's stand-in on this machine.
//
//   appmgr DESCRIPTION [--no-start]   install the cabinets a description names
//   appmgr --register                 register this program as the desktop's manager
//   appmgr --unregister               remove that registration
//
// Installing puts the cabinets' files into the program folder of the device
// root ($KELVANE_DEVICE_ROOT, else ~/.local/share/kelvane/device) and then
// starts the installed program, as the handheld would after an install,
// unless --no-start is given. Exit status 0 on success, 1 when nothing or not
// everything could be installed, 2 on wrong use.

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "platform/device_info.h"
#include "platform/host_file_system.h"
#include "platform/text_encoding.h"
#include "setup/appmgr/app_manager.h"
#include "setup/key_store.h"

extern char** environ;

namespace fs = std::filesystem;
using namespace kelvane;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: appmgr DESCRIPTION [--no-start]\n"
                 "       appmgr --register | --unregister\n");
    return 2;
}

int register_here(bool add) {
    const key_store store(default_key_store_file());
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const bool ok =
        add ? !ec && store.write(application_manager_key, default_value_name, self.string())
            : store.remove(application_manager_key, default_value_name);
    if (!ok) {
        std::fprintf(stderr, "appmgr: cannot write %s\n", store.file().c_str());
        return 1;
    }
    if (add)
        std::printf("appmgr: registered %s in %s\n", self.c_str(), store.file().c_str());
    else
        std::printf("appmgr: registration removed from %s\n", store.file().c_str());
    return 0;
}

bool start_detached(const fs::path& program) {
    const std::string path = program.string();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    // The installed program outlives this one; the system takes it over.
    return posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--register") == 0) return register_here(true);
    if (argc == 2 && std::strcmp(argv[1], "--unregister") == 0) return register_here(false);
    bool start = true;
    const char* description_file = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-start") == 0)
            start = false;
        else if (!description_file && argv[i][0] != '-')
            description_file = argv[i];
        else
            return usage();
    }
    if (!description_file) return usage();

    package_description description;
    std::string error;
    if (!read_package_description(description_file, description, error)) {
        std::fprintf(stderr, "appmgr: %s\n", error.c_str());
        return 1;
    }
    host_file_system device(default_device_root());
    const std::u16string program_folder = parent_folder(program_file_path) + u'\\';
    const auto make_executable = [&](std::u16string_view staged) {
        std::error_code ec;
        fs::permissions(device.host_path(staged),
                        fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                        fs::perm_options::add, ec);
        return !ec;
    };

    // Kelvane holds its folder while it runs and writes its data back when it
    // ends: installing beneath it would change the program under a running
    // copy, so the install waits until it is closed. The hold is kept until
    // every file is in place, so that no copy starts half way.
    folder_lock_result hold = device.lock_folder(program_folder);
    if (hold.state == lock_state::held_elsewhere) {
        std::fprintf(stderr,
                     "appmgr: Kelvane is running on %s; close it and install again. Nothing was "
                     "installed.\n",
                     device.host_path(program_folder).c_str());
        return 1;
    }

    const fs::path folder = fs::absolute(description_file).parent_path();
    std::optional<std::u16string> program;
    for (const auto& name : description.cabinets) {
        const auto cab = find_ignoring_case(folder, name);
        if (!cab) {
            std::fprintf(stderr, "appmgr: cannot find the cabinet %s in %s\n", name.c_str(),
                         folder.c_str());
            return 1;
        }
        std::ifstream in(*cab, std::ios::binary);
        const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(in), {});
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "appmgr: cannot read %s\n", cab->c_str());
            return 1;
        }
        const install_result result =
            install_cabinet(device, bytes, program_folder, make_executable);
        if (!result.ok) {
            std::fprintf(stderr, "appmgr: %s: %s\n", cab->c_str(), result.message.c_str());
            return 1;
        }
        std::printf("appmgr: installed %s into %s\n", cab->filename().c_str(),
                    device.host_path(program_folder).c_str());
        if (result.program) program = result.program;
    }
    hold.lock.reset();
    if (start && program && !start_detached(device.host_path(*program))) {
        std::fprintf(stderr, "appmgr: cannot start %s\n", device.host_path(*program).c_str());
        return 1;
    }
    return 0;
}
