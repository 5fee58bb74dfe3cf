// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The receiving end of a window: takes posted messages off its socket and
// hands them, one by one, to a handler on the thread that owns it (the GUI
// thread), so they are served by the event loop like any other event. They
// are handed over in the order their connections were made, whichever
// connection the event loop happens to finish first: "start logging" then
// "stop" must never be served the other way round on a loaded machine.
//
// Only processes of the same user can reach the socket (its folder is
// private) and the receiver checks each peer's user id as well. Each
// connection must carry exactly one record; anything else is dropped.
//
// A flood of connections cannot take the mailbox down: only a bounded number
// are held open at once (the rest wait in the system's queue or are refused
// there), and should the server fail all the same, it listens again under
// the same handle.

#include "WindowMessage.h"

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;
class QTimer;

namespace platform {

class TMessageReceiver : public QObject {
public:
    using THandler = std::function<void(const TMessage &)>;

    explicit TMessageReceiver(THandler handler, QObject *parent = nullptr);
    ~TMessageReceiver() override;

    // Takes a fresh handle and starts listening; false when no socket could
    // be made, with the cause in ErrorString(). Calling it again while open
    // does nothing.
    bool Open();
    QString ErrorString() const { return fError; }
    // Stops listening and gives up the handle.
    void Close();
    // 0 while closed.
    TWindowHandle handle() const { return fHandle; }

private:
    void Accept();
    void Finish(QLocalSocket *socket);
    void Deliver();
    void KeepListening();

    // Accepted connections in order, each with its message once finished.
    struct TPending {
        QPointer<QLocalSocket> socket;
        bool finished = false;
        std::optional<TMessage> message;
    };
    std::deque<TPending> fPending;
    THandler fHandler;
    QLocalServer *fServer = nullptr;
    TWindowHandle fHandle = 0;
    QString fError;
    int fOpenConnections = 0;
    QTimer *fWatch = nullptr;
};

} // namespace platform
