#include "gui/gui_test_support.h"

#include <QApplication>
#include <QDir>

#include "gui/shell/main_commands.h"
#include "gui/shell/shell_state.h"
#include "gui/widgets/skin.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

class qt_environment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "gui_tests";
        static char* argv[] = {name, nullptr};
        app_ = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete app_;
        app_ = nullptr;
    }

private:
    QApplication* app_ = nullptr;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new qt_environment);

}  // namespace

gui_test::gui_test() {
    clock.set(2026, 12, 7, 9, 30);
    restart();
    screen.show();
}

gui_test::~gui_test() = default;

void gui_test::restart() {
    prog.reset();
    prog = std::make_unique<program>();
    prog->skin.load_skin();
}

void save_screenshot(const QImage& image, const char* name) {
    const QString dir = qEnvironmentVariable("KELVANE_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    image.save(dir + "/" + name + ".png");
}

std::uint32_t pixel(const QImage& image, int x, int y) {
    return from_qrgb(image.pixel(x, y));
}

}  // namespace kelvane
