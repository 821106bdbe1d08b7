#pragma once
// What every GUI test needs: the Qt application, the device's services and
// the modal seam installed for the test alone, and a device screen.

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QString>
#include <functional>

#include "gui/shell/program.h"
#include "platform/device_info.h"
#include "platform/local_time.h"
#include "platform/memory_file_system.h"
#include "platform/message_box.h"
#include "platform/qt/device_screen.h"
#include "platform/qt/modal_service.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"
#include "platform/shell_service.h"

namespace kelvane {

class gui_test : public ::testing::Test {
protected:
    gui_test();
    ~gui_test() override;
    // An answer queued for a message box, dialog or menu that never came is
    // a failure, named with the place that queued it: the test did not run
    // the way it reads.
    void TearDown() override;

    memory_file_system fs;
    fixed_clock clock;
    host_device_info dev;
    scripted_message_box boxes;
    recording_shell shell_;
    scripted_modal modal;
    scoped_services services_{{&fs, &clock, &dev, &boxes, &shell_, nullptr, &modal}};
    device_screen screen;
    // The test's own program; restart() replaces it by a fresh one, as a new
    // start of the program would.
    std::unique_ptr<program> prog;
    void restart();
};

// Input as the owner gives it, delivered straight to the widget.
void focus_in(QWidget& w);
void focus_out(QWidget& w);
// Types the characters one key at a time.
void type(QWidget& w, const QString& text);
// Presses and releases a key.
void key(QWidget& w, int k);
// A press or release of a mouse button at a point of the widget.
void mouse_press(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton);
void mouse_release(QWidget& w, QPoint at, Qt::MouseButton button = Qt::LeftButton);
// Runs the event loop until the condition holds or a generous limit passes
// (for the program's own timers, such as tap and hold); the condition's value.
bool process_events_until(const std::function<bool()>& condition);

// Saves a picture for review when KELVANE_SCREENSHOT_DIR is set; does nothing otherwise.
void save_screenshot(const QImage& image, const char* name);

// The colour of a pixel as the device names colours (red in the lowest byte).
std::uint32_t pixel(const QImage& image, int x, int y);

// A surface that notes every text with the width it takes in the font it is
// written in, and paints it as the screen does.
class text_recorder : public image_dc {
public:
    using image_dc::image_dc;
    struct written {
        std::u16string text;
        rect box;
        int width;
        unsigned flags;
        int pixel_height;  // of the font written in
        bool whole() const { return width <= box.width(); }
    };
    void draw_text(std::u16string_view text, const rect& r, unsigned flags) override {
        texts.push_back({std::u16string(text), r, text_extent(text).width, flags,
                         painter().font().pixelSize()});
        image_dc::draw_text(text, r, flags);
    }
    std::vector<written> texts;
};

}  // namespace kelvane
