#include "gui/shell/screenshot_run.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>

#include "platform/qt/device_screen.h"

namespace kelvane {

namespace {

QByteArray format_of(const QString& file) {
    return QFileInfo(file).suffix().toLower().toLatin1();
}

}  // namespace

screenshot_run::screenshot_run(device_screen& screen, QString file, int delay_ms)
    : screen_(screen), file_(std::move(file)) {
    shot_.setSingleShot(true);
    connect(&shot_, &QTimer::timeout, this, &screenshot_run::take);
    shot_.start(delay_ms);
    // Dialogs may open one after another while the program ends; each is
    // dismissed as it comes.
    ender_.setInterval(20);
    connect(&ender_, &QTimer::timeout, this, [this] { screen_.dismiss_all(); });
}

QString screenshot_run::check_target(const QString& file) {
    const QString cannot = QStringLiteral("cannot write the screenshot to '%1': ").arg(file);
    const QFileInfo info(file);
    if (info.isDir()) return cannot + QStringLiteral("it is a folder");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir())
        return cannot + QStringLiteral("the folder '%1' does not exist").arg(folder.filePath());
    if (!folder.isWritable())
        return cannot + QStringLiteral("the folder '%1' is not writable").arg(folder.filePath());
    const QByteArray format = format_of(file);
    if (format.isEmpty() || !QImageWriter::supportedImageFormats().contains(format))
        return cannot +
               QStringLiteral("name it with a picture format's ending (.png, .jpg or .bmp)");
    return {};
}

QString screenshot_run::failure() const {
    if (!taken_)
        return QStringLiteral("the program ended before the screenshot '%1' was taken").arg(file_);
    return failure_;
}

void screenshot_run::take() {
    taken_ = true;
    const QImage picture = screen_.snapshot();
    // Written beside the target and put in its place when complete, so a
    // failed write leaves no half picture.
    QSaveFile out(file_);
    QString why;
    if (!out.open(QIODevice::WriteOnly)) {
        why = out.errorString();
    } else {
        QImageWriter writer(&out, format_of(file_));
        if (!writer.write(picture)) {
            why = writer.errorString();
            out.cancelWriting();
        } else if (!out.commit()) {
            why = out.errorString();
        }
    }
    if (!why.isEmpty())
        failure_ = QStringLiteral("could not write the screenshot to '%1': %2").arg(file_, why);
    screen_.dismiss_all();
    ender_.start();
}

}  // namespace kelvane
