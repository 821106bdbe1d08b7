#include "gui/shell/program_handover.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

#include "core/accounts/configuration.h"
#include "core/common/folders.h"
#include "gui/shell/program.h"

namespace kelvane {

namespace {

// What a later start sends; the running program answers it by coming to the front.
constexpr char front_request[] = "front\n";

}  // namespace

program_handover::program_handover(QObject* parent) : QObject(parent) {
    // Only this user's programs may ask.
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith("front")) emit asked();
                socket->disconnectFromServer();
            });
        }
    });
}

QString program_handover::meeting_name(const std::string& folder_id) {
    // The folder's identity is the same from every path that reaches it; the
    // user's id keeps two people's programs apart on one machine.
    const QByteArray key = QByteArray::number(static_cast<qulonglong>(::getuid())) + '/' +
                           QByteArray::fromStdString(folder_id);
    return QStringLiteral("kelvane-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

program_handover::start program_handover::claim(program& prog, int wait_ms) {
    (void)make_folder_path(prog.data.data_folder());
    const lock_state state = prog.data.take_hold();
    const QString name = meeting_name(prog.data.folder_id());
    if (state != lock_state::held_elsewhere) {
        if (!prog.data.folder_id().empty()) listen(name);
        return start::run;
    }
    return ask(name, wait_ms) ? start::handed_over : start::in_use;
}

void program_handover::listen(const QString& name) {
    if (server_.listen(name)) return;
    // A name left by a program that ended without closing it: this program
    // holds the folder, so nobody else can be listening there.
    QLocalServer::removeServer(name);
    (void)server_.listen(name);
}

bool program_handover::ask(const QString& name, int wait_ms) {
    // The first program may be starting: it takes the hold just before it
    // listens, so a refused connection is tried again for a while.
    QElapsedTimer waited;
    waited.start();
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(500)) {
            socket.write(front_request);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            if (sent) return true;
        }
        QThread::msleep(100);
    } while (waited.elapsed() < wait_ms);
    return false;
}

}  // namespace kelvane
