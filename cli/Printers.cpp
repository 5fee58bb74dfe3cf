// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printers.h"

#include <cerrno>
#include <unistd.h>

namespace cli {

bool TLineWriter::Line(const QByteArray &line) {
    if (fClosed)
        return false;
    fBuffer += line;
    if (fBuffer.size() >= 64 * 1024)
        return Flush();
    return true;
}

bool TLineWriter::Flush() {
    qsizetype done = 0;
    while (!fClosed && done < fBuffer.size()) {
        const ssize_t n = ::write(fFd, fBuffer.constData() + done, size_t(fBuffer.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fClosed = true;
            fError = errno;
            break;
        }
        done += n;
    }
    fBuffer.clear();
    return !fClosed;
}

} // namespace cli
