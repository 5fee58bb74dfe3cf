// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program the test starts as a child process, read line by line. Every
// wait has a cap that only ends a broken test; nothing here measures speed.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <sys/types.h>

class ChildProcess {
public:
    // Starts `program`; with `runAs` other than the test's own user, the
    // child switches to that user first (exit code 99 when it cannot).
    ChildProcess(const QString &program, const QStringList &args = {}, int capMs = 15000,
                 uid_t runAs = uid_t(-1));
    // Terminates the child if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    // The next line of standard output, trimmed; empty at the cap.
    QByteArray WaitForLine();
    // The first line of standard error, trimmed; empty at the cap. Later
    // calls give the same line.
    QByteArray WaitForFirstErrorLine();
    // The exit code; -1 when the child crashed or did not end within the cap.
    int WaitForExit();
    // Terminates the child and gives what it wrote to standard output and
    // was not read yet.
    QByteArray Stop();
    // Everything written to standard error so far.
    QByteArray Errors();
    // Whether standard error comes to hold `text` within the cap.
    bool WaitForErrors(const QByteArray &text);
    QProcess &process() { return fProcess; }

private:
    QProcess fProcess;
    QByteArray fErr;
    int fCapMs;
};
