// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControllerServer.h"

#include "ControllerMessage.h"
#include "TMessageReceiver.h"
#include "qlbuf.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <set>
#include <sys/socket.h>
#include <unistd.h>

namespace controller {

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(gSignalPipe[1], &byte, 1);
}

QString Describe(const platform::TMessage &m) {
    const suite::TCallingProgramMessage fields =
        suite::MessageFromCallingProgram(m.wParam, m.lParam);
    switch (m.message) {
    case suite::kAnnounceToolWindowMessage:
        return QStringLiteral("announce tool %1 window %2").arg(m.wParam).arg(m.lParam);
    case suite::kToolCodeMessage:
        return QStringLiteral("code %1 tool %2 window %3")
            .arg(fields.code)
            .arg(fields.tool)
            .arg(fields.window);
    default:
        return QStringLiteral("message 0x%1 wparam %2 lparam %3")
            .arg(m.message, 0, 16)
            .arg(m.wParam)
            .arg(m.lParam);
    }
}

} // namespace

int RunServer(QTextStream &out, QTextStream &err, bool exitWithTools) {
    SetupQlbufSharing();
    if (const TQlbufWnd other = GetShellWnd(); other != 0) {
        err << "quillon-controller: a controller already runs as window " << other << Qt::endl;
        return 1;
    }
    std::set<uint32_t> toolWindows;
    platform::TMessageReceiver receiver([&](const platform::TMessage &m) {
        out << Describe(m) << Qt::endl;
        if (!exitWithTools || m.message != suite::kToolCodeMessage)
            return;
        const suite::TCallingProgramMessage fields =
            suite::MessageFromCallingProgram(m.wParam, m.lParam);
        if (fields.code == suite::kNoteWindowCreated)
            toolWindows.insert(fields.window);
        if (fields.code == suite::kNoteWindowGoing && toolWindows.erase(fields.window) > 0 &&
            toolWindows.empty())
            QCoreApplication::quit();
    });
    if (!receiver.Open()) {
        err << "quillon-controller: cannot open a window socket: " << receiver.ErrorString()
            << Qt::endl;
        return 1;
    }

    // Signals end the loop through a pipe, the one safe way out of a handler.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalPipe) != 0)
        return 1;
    QSocketNotifier notifier(gSignalPipe[0], QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, qApp, &QCoreApplication::quit);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);

    SetShellWnd(receiver.handle());
    SetQShellInitialised(true);
    err << "quillon-controller: window " << receiver.handle() << Qt::endl;

    const int status = QCoreApplication::exec();
    SetShellWnd(0);
    return status;
}

} // namespace controller
