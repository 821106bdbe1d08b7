#pragma once
// The device services of one core test: an in-memory file system, a fixed
// clock, a settable device, a scripted message box and a recording shell,
// installed for the test's lifetime and removed when it ends.

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
};

}  // namespace kelvane::testing
