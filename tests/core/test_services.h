#pragma once
// The device services of one core test: an in-memory file system, a fixed
// clock, a settable device, a scripted message box and a recording shell,
// installed for the test's lifetime and removed when it ends. The problems
// core reports are shown in the message box in force, as the program shows
// them, so a test reads them among the boxes.

#include "core/common/messages.h"
#include "core/common/problems.h"
#include "platform/device_info.h"
#include "platform/memory_file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/shell_service.h"

namespace kelvane::testing {

struct test_services {
    memory_file_system fs;
    fixed_clock clock;
    host_device_info dev;
    scripted_message_box boxes;
    recording_shell shell;
    scoped_services services{{&fs, &clock, &dev, &boxes, &shell}};
    // As the program does: each problem in the message box in force.
    struct boxed_problems : problem_listener {
        void told(const problem& p) override {
            (void)message_boxes().show(problem_text(p), program_caption, message_buttons::ok);
        }
    } problems;
    scoped_problem_listener listening{problems};
};

}  // namespace kelvane::testing
