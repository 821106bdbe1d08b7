#pragma once
// The desktop under Setup on this machine: its own file is the running
// executable, the temporary folder the host's, the registry the file-backed
// key store, and programs start detached.

#include <filesystem>

#include "platform/host_file_system.h"
#include "setup/setup_platform.h"

namespace kelvane {

class desktop_setup_platform : public setup_platform {
public:
    explicit desktop_setup_platform(message_box_service& boxes,
                                    std::filesystem::path key_store_file = {});

    // Host paths serve as they are: the file system is rooted at "/".
    file_system& files() override { return files_; }
    std::u16string own_file() override;
    std::u16string temp_folder() override;
    std::optional<std::u16string> manager_path() override;
    bool start_program(std::u16string_view program, std::u16string_view parameter) override;
    message_box_service& messages() override { return boxes_; }
    bool program_running() override;
    std::u16string install_folder() override;

    // For running a Setup file that is not the running program (tests).
    void set_own_file(std::filesystem::path p) { own_file_ = std::move(p); }
    void set_temp_folder(std::filesystem::path p) { temp_folder_ = std::move(p); }

private:
    message_box_service& boxes_;
    host_file_system files_{"/"};
    std::filesystem::path key_store_file_;
    std::filesystem::path own_file_;
    std::filesystem::path temp_folder_;
};

}  // namespace kelvane
