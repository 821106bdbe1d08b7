#include "gui/gui_test_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui/shell/main_commands.h"
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

void gui_test::TearDown() {
    for (const std::string& answer : boxes.unused_answers())
        ADD_FAILURE() << "no message box took the answer " << answer;
    for (const std::string& answer : modal.unused()) ADD_FAILURE() << "nothing took the " << answer;
}

void gui_test::restart() {
    prog.reset();
    prog = std::make_unique<program>();
    prog->skin.load_skin();
}

void focus_in(QWidget& w) {
    QFocusEvent e(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(&w, &e);
}

void focus_out(QWidget& w) {
    QFocusEvent e(QEvent::FocusOut, Qt::MouseFocusReason);
    QApplication::sendEvent(&w, &e);
}

void type(QWidget& w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&w, &press);
    }
}

void key(QWidget& w, int k) {
    QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
}

void mouse_press(QWidget& w, QPoint at, Qt::MouseButton button) {
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(at), w.mapToGlobal(QPointF(at)), button, button,
                  Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

void mouse_release(QWidget& w, QPoint at, Qt::MouseButton button) {
    QMouseEvent e(QEvent::MouseButtonRelease, QPointF(at), w.mapToGlobal(QPointF(at)), button,
                  Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

bool process_events_until(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition() && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    return condition();
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
