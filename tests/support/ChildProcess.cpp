// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"

#include <QDeadlineTimer>

#include <unistd.h>

ChildProcess::ChildProcess(const QString &program, const QStringList &args, int capMs, uid_t runAs)
    : fCapMs(capMs) {
    if (runAs != uid_t(-1) && runAs != ::geteuid())
        fProcess.setChildProcessModifier([runAs] {
            if (::setgid(runAs) != 0 || ::setuid(runAs) != 0)
                ::_exit(99);
        });
    fProcess.start(program, args);
    fProcess.waitForStarted(fCapMs);
}

ChildProcess::~ChildProcess() {
    if (fProcess.state() != QProcess::NotRunning) {
        fProcess.terminate();
        if (!fProcess.waitForFinished(fCapMs))
            fProcess.kill();
    }
}

QByteArray ChildProcess::WaitForLine() {
    QDeadlineTimer cap(fCapMs);
    while (!cap.hasExpired() && !fProcess.canReadLine())
        fProcess.waitForReadyRead(100);
    return fProcess.readLine().trimmed();
}

QByteArray ChildProcess::WaitForFirstErrorLine() {
    QDeadlineTimer cap(fCapMs);
    while (!cap.hasExpired() && !fErr.contains('\n')) {
        fProcess.waitForReadyRead(100);
        fErr += fProcess.readAllStandardError();
    }
    return fErr.left(fErr.indexOf('\n')).trimmed();
}

int ChildProcess::WaitForExit() {
    if (!fProcess.waitForFinished(fCapMs))
        return -1;
    return fProcess.exitStatus() == QProcess::NormalExit ? fProcess.exitCode() : -1;
}

QByteArray ChildProcess::Stop() {
    fProcess.terminate();
    fProcess.waitForFinished(fCapMs);
    return fProcess.readAllStandardOutput();
}

QByteArray ChildProcess::Errors() {
    return fErr += fProcess.readAllStandardError();
}

bool ChildProcess::WaitForErrors(const QByteArray &text) {
    QDeadlineTimer cap(fCapMs);
    while (!Errors().contains(text) && !cap.hasExpired())
        fProcess.waitForReadyRead(100);
    return fErr.contains(text);
}
