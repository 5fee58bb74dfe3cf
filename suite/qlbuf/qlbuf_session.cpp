// SPDX-License-Identifier: GPL-3.0-or-later
// The session half of the shared settings library.

#include "SessionStore.h"
#include "qlbuf.h"

#include <QCoreApplication>

#include <cstring>
#include <unistd.h>

using namespace qlbuf;

namespace {

const QString kShellFile = QStringLiteral("controller.windows");
const QString kShellReadyFile = QStringLiteral("controller.ready");

QString ToolWindowsFile(TQlbufTool tool) {
    return QStringLiteral("tool-%1.windows").arg(tool);
}
QString ToolActiveFile(TQlbufTool tool) {
    return QStringLiteral("tool-%1.active").arg(tool);
}
QString ProgressFile(int64_t pid) {
    return QStringLiteral("progress-%1.bin").arg(pid);
}

int64_t OwnPid() {
    return ::getpid();
}

TQlbufWnd FirstLive(const QString &file) {
    const auto entries = LiveWindowEntries(file);
    return entries.empty() ? 0 : entries.front().handle;
}

void Replace(const QString &file, TQlbufWnd wnd) {
    UpdateWindowEntries(file, [wnd](std::vector<TWindowEntry> &entries) {
        entries.clear();
        if (wnd != 0)
            entries.push_back({wnd, OwnPid()});
    });
}

} // namespace

void SetupQlbufSharing() {
    SessionFolder();
}

TQlbufWnd GetShellWnd() {
    return FirstLive(kShellFile);
}

void SetShellWnd(TQlbufWnd wnd) {
    if (wnd == 0)
        SetQShellInitialised(false);
    Replace(kShellFile, wnd);
}

bool GetQShellInitialised() {
    // The flag belongs to the controller that set it: a controller that died
    // ready must not make the next start skip its wait.
    const auto entries = LiveWindowEntries(kShellReadyFile);
    return !entries.empty() && GetShellWnd() == entries.front().handle;
}

void SetQShellInitialised(bool initialised) {
    Replace(kShellReadyFile, initialised ? GetShellWnd() : 0);
}

void SetNewWnd(TQlbufTool tool, TQlbufWnd wnd) {
    if (wnd == 0)
        return;
    UpdateWindowEntries(ToolWindowsFile(tool), [wnd](std::vector<TWindowEntry> &entries) {
        std::erase_if(entries, [wnd](const TWindowEntry &e) { return e.handle == wnd; });
        entries.push_back({wnd, OwnPid()});
    });
}

void SetActiveMainToolWindow(TQlbufTool tool, TQlbufWnd wnd) {
    Replace(ToolActiveFile(tool), wnd);
}

void UnSetWnd(TQlbufTool tool, TQlbufWnd wnd) {
    const auto drop = [wnd](std::vector<TWindowEntry> &entries) {
        std::erase_if(entries, [wnd](const TWindowEntry &e) { return e.handle == wnd; });
    };
    UpdateWindowEntries(ToolWindowsFile(tool), drop);
    UpdateWindowEntries(ToolActiveFile(tool), drop);
}

TQlbufWnd GetActiveMainToolWindow(TQlbufTool tool) {
    return FirstLive(ToolActiveFile(tool));
}

void SetProgressParams(const void *params) {
    if (params)
        WriteSessionFile(ProgressFile(OwnPid()),
                         QByteArray(static_cast<const char *>(params), kProgressParamsSize));
}

bool GetProgressParams(int64_t pid, void *space) {
    const QByteArray record = ReadSessionFile(ProgressFile(pid));
    if (record.size() != kProgressParamsSize)
        return false;
    std::memcpy(space, record.constData(), kProgressParamsSize);
    return true;
}
