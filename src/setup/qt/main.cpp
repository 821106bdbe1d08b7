// Setup: the desktop wizard that installs Kelvane. It carries the English and
// the French device package inside its own file and hands the chosen one to
// the desktop's application manager.

#include <QApplication>

#include "setup/qt/desktop_setup_platform.h"
#include "setup/qt/setup_message_box.h"
#include "setup/qt/setup_window.h"
#include "setup/qt/start_picture.h"

int main(int argc, char** argv) {
    using namespace kelvane;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelvane Setup"));

    setup_message_box boxes;
    desktop_setup_platform platform(boxes);
    setup_window window(platform);
    boxes.set_parent(&window);

    start_picture picture;
    picture.show_for(1100, [&window] { window.show(); });
    return app.exec();
}
