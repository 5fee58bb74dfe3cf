// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartTool.h"

#include "Dialogs.h"
#include "Mykpsmall.h"
#include "qlbuf.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

namespace {

constexpr qint64 kWaitSeconds = 31;
// A short pause between polls keeps the wait from spinning a core and
// re-reading the session folder thousands of times a second.
constexpr unsigned long kPollPauseMs = 10;

} // namespace

bool StartTool(tool_type tool) {
    if (GetShellWnd() != 0)
        return true;
    // Not lower-cased: file names on this system are case-sensitive.
    const QString path = GetFullToolFilename(tool);
    const QFileInfo file(path);
    if (!file.isFile() || !file.isExecutable())
        return false;
    QElapsedTimer since;
    since.start();
    QProcess process;
    process.setProgram(path);
    // The controller a tool starts goes when the last tool window has gone,
    // and writes nowhere: the tool's standard output is not its own.
    if (tool == kControllerTool)
        process.setArguments({QStringLiteral("--exit-with-tools")});
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (!process.startDetached()) {
        suite::ShowMessage(nullptr, QStringLiteral("Fatal Error"),
                           QStringLiteral("Can't start \n") + path, suite::TMsgDlgType::Warning,
                           suite::mbOK, 0);
        return false;
    }
    for (;;) {
        const bool ready = GetQShellInitialised();
        MyYieldProcess();
        if (ready)
            return true;
        if (since.elapsed() / 1000 >= kWaitSeconds)
            return false;
        QThread::msleep(kPollPauseMs);
    }
}
