#pragma once
// A desktop for the wizard's tests: files in memory, a scripted message box,
// and a manager whose start is only recorded.

#include <optional>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "platform/message_box.h"
#include "setup/setup_platform.h"

namespace kelvane {

class fake_setup_platform : public setup_platform {
public:
    file_system& files() override { return fs; }
    std::u16string own_file() override { return setup_file; }
    std::u16string temp_folder() override { return temp; }
    std::optional<std::u16string> manager_path() override { return manager; }
    bool start_program(std::u16string_view program, std::u16string_view parameter) override {
        started.push_back({std::u16string(program), std::u16string(parameter)});
        return manager_starts;
    }
    message_box_service& messages() override { return boxes; }
    bool program_running() override { return running; }

    struct start {
        std::u16string program, parameter;
    };
    memory_file_system fs;
    scripted_message_box boxes;
    std::u16string setup_file = u"\\Desktop\\Setup.exe";
    std::u16string temp = u"\\Temp\\";
    std::optional<std::u16string> manager = u"C:\\ActiveSync\\CEAppMgr.exe";
    bool manager_starts = true;
    bool running = false;  // Kelvane runs where it would be installed
    std::vector<start> started;
};

}  // namespace kelvane
