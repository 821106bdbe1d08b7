#pragma once
// What every GUI test needs: the Qt application, the device's services and
// the modal seam installed for the test alone, and a device screen.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "gui/shell/program.h"
#include "platform/device_info.h"
#include "platform/local_time.h"
#include "platform/memory_file_system.h"
#include "platform/message_box.h"
#include "platform/qt/device_screen.h"
#include "platform/qt/modal_service.h"
#include "platform/services.h"
#include "platform/shell_service.h"

namespace kelvane {

class gui_test : public ::testing::Test {
protected:
    gui_test();
    ~gui_test() override;

    memory_file_system fs;
    fixed_clock clock;
    host_device_info dev;
    scripted_message_box boxes;
    recording_shell shell_;
    scoped_services services_{{&fs, &clock, &dev, &boxes, &shell_}};
    scripted_modal modal;
    scoped_modal_service modal_{modal};
    device_screen screen;
    // The test's own program; restart() replaces it by a fresh one, as a new
    // start of the program would.
    std::unique_ptr<program> prog;
    void restart();
};

// Saves a picture for review when KELVANE_SCREENSHOT_DIR is set; does nothing otherwise.
void save_screenshot(const QImage& image, const char* name);

// The colour of a pixel as the device names colours (red in the lowest byte).
std::uint32_t pixel(const QImage& image, int x, int y);

}  // namespace kelvane
