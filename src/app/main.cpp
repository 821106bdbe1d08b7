// The device program on the desktop: one window that is the handheld's screen.

#include <QApplication>
#include <QLabel>

#include "platform/host_file_system.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel screen(QString("Kelvane\n\nDevice root:\n%1")
                      .arg(QString::fromStdString(kelvane::default_device_root().string())));
    screen.setAlignment(Qt::AlignCenter);
    screen.setWordWrap(true);
    screen.setFixedSize(240, 320);
    screen.setWindowTitle("Kelvane");
    screen.show();
    return app.exec();
}
