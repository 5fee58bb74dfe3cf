// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMessageReceiver.h"

#include "PrivateFolder.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QRandomGenerator>
#include <QTimer>
#include <QVariant>

#include <algorithm>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr char kBufferProperty[] = "record";
constexpr char kRejectedProperty[] = "rejected";
// A peer that neither sends a record nor closes is cut off after this long.
constexpr int kConnectionTimeoutMs = 2000;
// Connections held open at once, and accepted but not yet taken: a posted
// record takes a moment, so a few dozen carry any real traffic, while a flood
// waits in the system's queue instead of eating the process's descriptors.
constexpr int kMaxOpenConnections = 64;
constexpr int kMaxPendingConnections = 16;
// How often a server that failed (or whose socket file went) is set up again.
constexpr int kWatchIntervalMs = 1000;

bool SocketFileExists(const QString &path) {
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode);
}

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
    fError.clear();
    const QString folder = PrivateRuntimeFolder(QStringLiteral("windows"));
    if (folder.isEmpty()) {
        fError =
            QStringLiteral("the private runtime folder under %1 cannot be made")
                .arg(qEnvironmentVariable("XDG_RUNTIME_DIR", QStringLiteral("the runtime folder")));
        return false;
    }
    // A socket's name has a fixed room; a deep runtime folder leaves none.
    const qsizetype longest = QFile::encodeName(WindowSocketPath(0xFFFFFFFFu)).size();
    if (longest >= qsizetype(sizeof(sockaddr_un::sun_path))) {
        fError = QStringLiteral("the runtime folder %1 is too long for a socket: its sockets' "
                                "names take %2 bytes, and a socket's name holds at most %3")
                     .arg(folder)
                     .arg(longest)
                     .arg(sizeof(sockaddr_un::sun_path) - 1);
        return false;
    }
    auto *server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    server->setMaxPendingConnections(kMaxPendingConnections);
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
            if (!fWatch) {
                fWatch = new QTimer(this);
                connect(fWatch, &QTimer::timeout, this, &TMessageReceiver::KeepListening);
            }
            fWatch->start(kWatchIntervalMs);
            return true;
        }
        fError = server->errorString();
    }
    delete server;
    return false;
}

void TMessageReceiver::Close() {
    if (fWatch)
        fWatch->stop();
    if (!fServer)
        return;
    // Cleared first: deleting the server deletes its connections, whose
    // last signals must not reach the handler any more.
    QLocalServer *server = fServer;
    fServer = nullptr;
    fHandle = 0;
    fPending.clear();
    server->close(); // removes the socket file
    delete server;
}

void TMessageReceiver::KeepListening() {
    if (!fServer)
        return;
    const QString path = WindowSocketPath(fHandle);
    if (fServer->isListening() && SocketFileExists(path))
        return;
    // The server gave up (say, out of descriptors under a flood) or its
    // socket file was removed: listen again under the same handle, which is
    // the one the suite knows. Failing now, it is tried again later.
    fServer->close();
    if (!path.isEmpty() && fServer->listen(path)) {
        fError.clear();
        Accept();
    } else {
        fError = fServer->errorString();
    }
}

void TMessageReceiver::Accept() {
    while (fServer && fOpenConnections < kMaxOpenConnections) {
        QLocalSocket *socket = fServer->nextPendingConnection();
        if (!socket)
            break;
        ++fOpenConnections;
        connect(socket, &QObject::destroyed, this, [this] {
            --fOpenConnections;
            // Room again for the connections left waiting.
            if (fServer && fServer->hasPendingConnections())
                QMetaObject::invokeMethod(this, &TMessageReceiver::Accept, Qt::QueuedConnection);
            // One that went without finishing holds the others up no more.
            QMetaObject::invokeMethod(this, &TMessageReceiver::Deliver, Qt::QueuedConnection);
        });
        if (!SameUser(socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        fPending.push_back({socket, false, std::nullopt});
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
        QTimer::singleShot(kConnectionTimeoutMs, socket, [this, socket] {
            socket->abort();
            Finish(socket); // if the abort did not, so that it holds no one up
        });
    }
}

void TMessageReceiver::Finish(QLocalSocket *socket) {
    if (!fServer)
        return;
    const auto pending =
        std::find_if(fPending.begin(), fPending.end(),
                     [socket](const TPending &p) { return p.socket == socket && !p.finished; });
    if (pending == fPending.end())
        return; // finished already
    pending->finished = true;
    if (!socket->property(kRejectedProperty).toBool())
        pending->message =
            DecodeMessage(socket->property(kBufferProperty).toByteArray() + socket->readAll());
    socket->deleteLater();
    Deliver();
}

// Hands over the messages of the oldest finished connections, stopping at
// the first still open (a peer that never finishes is cut off by its
// timeout, so it holds the others up for at most that long). A handler that
// runs the event loop may come back here: each message leaves the queue
// before it is handed over.
void TMessageReceiver::Deliver() {
    while (fServer && !fPending.empty()) {
        TPending &front = fPending.front();
        if (front.socket && !front.finished)
            return;
        const std::optional<TMessage> message = front.message;
        fPending.pop_front();
        if (message && fHandler)
            fHandler(*message);
    }
}

} // namespace platform
