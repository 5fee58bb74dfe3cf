#include "TMessageReceiver.h"

#include "PrivateFolder.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTimer>
#include <QVariant>

#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kBufferProperty[] = "record";
constexpr char kRejectedProperty[] = "rejected";
// A peer that neither sends a record nor closes is cut off after this long.
constexpr int kConnectionTimeoutMs = 5000;

bool SameUser(const QLocalSocket *socket) {
    ucred cred{};
    socklen_t len = sizeof(cred);
    return ::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &cred, &len) ==
               0 &&
           cred.uid == ::geteuid();
}

} // namespace

TMessageReceiver::TMessageReceiver(THandler handler, QObject *parent)
    : QObject(parent), fHandler(std::move(handler)) {}

TMessageReceiver::~TMessageReceiver() {
    Close();
}

bool TMessageReceiver::Open() {
    if (fServer)
        return true;
    if (PrivateRuntimeFolder(QStringLiteral("windows")).isEmpty())
        return false;
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    // Binding fails on a name in use, so a handle that binds is unique among
    // live windows; a left-over socket of a crashed window only costs a retry.
    for (int attempt = 0; attempt < 64; ++attempt) {
        TWindowHandle candidate = 0;
        while (candidate == 0)
            candidate = QRandomGenerator::system()->generate();
        if (server->listen(WindowSocketPath(candidate))) {
            fServer = server;
            fHandle = candidate;
            connect(fServer, &QLocalServer::newConnection, this, &TMessageReceiver::Accept);
            return true;
        }
    }
    delete server;
    return false;
}

void TMessageReceiver::Close() {
    if (!fServer)
        return;
    // Cleared first: deleting the server deletes its connections, whose
    // last signals must not reach the handler any more.
    QLocalServer *server = fServer;
    fServer = nullptr;
    fHandle = 0;
    server->close(); // removes the socket file
    delete server;
}

void TMessageReceiver::Accept() {
    while (QLocalSocket *socket = fServer->nextPendingConnection()) {
        if (!SameUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setProperty(kBufferProperty, QByteArray());
        connect(socket, &QLocalSocket::readyRead, socket, [socket] {
            QByteArray buffer = socket->property(kBufferProperty).toByteArray();
            buffer += socket->readAll();
            if (buffer.size() > kMessageRecordSize) {
                // Too long to be a record: drop it and free the connection.
                socket->setProperty(kRejectedProperty, true);
                socket->abort();
                return;
            }
            socket->setProperty(kBufferProperty, buffer);
        });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { Finish(socket); });
        QTimer::singleShot(kConnectionTimeoutMs, socket, [socket] { socket->abort(); });
    }
}

void TMessageReceiver::Finish(QLocalSocket *socket) {
    if (!fServer)
        return;
    if (socket->property(kRejectedProperty).toBool()) {
        socket->deleteLater();
        return;
    }
    QByteArray buffer = socket->property(kBufferProperty).toByteArray() + socket->readAll();
    socket->deleteLater();
    if (const auto message = DecodeMessage(buffer); message && fHandler)
        fHandler(*message);
}

} // namespace platform
