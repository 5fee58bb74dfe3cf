// SPDX-License-Identifier: GPL-3.0-or-later
#include "Logging_utilities.h"

#include <QFile>
#include <QLockFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

bool keeping_log = false;

namespace {
QString gLogFilename;
}

void SetLogFilename(const QString &fileName) {
    gLogFilename = fileName;
}

QString LogFilename() {
    return gLogFilename;
}

void AddToLogFile(const QString &text, bool endLine) {
    if (gLogFilename.isEmpty())
        return;
    QLockFile lock(gLogFilename + QStringLiteral(".lock"));
    if (!lock.lock())
        return;
    QByteArray bytes = text.toUtf8();
    if (endLine)
        bytes += '\n';
    // Appended in one write: a line costs the same whatever the log's size,
    // and the lines already there are never touched.
    const QByteArray native = QFile::encodeName(gLogFilename);
    const int fd = ::open(native.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    const char *p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        p += n;
        left -= n;
    }
    ::close(fd);
}
