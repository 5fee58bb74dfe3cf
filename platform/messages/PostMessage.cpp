// SPDX-License-Identifier: GPL-3.0-or-later
#include "PostMessage.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

bool PostMessage(TWindowHandle to, const TMessage &m) {
    const QByteArray path = QFile::encodeName(WindowSocketPath(to));
    sockaddr_un addr{};
    if (path.isEmpty() || size_t(path.size()) >= sizeof(addr.sun_path))
        return false;
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));

    // Non-blocking: a receiver that is busy or gone must never hold us up.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    bool sent = false;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof(addr)) == 0) {
        const QByteArray record = EncodeMessage(m);
        // A fresh socket's buffer always has room for one small record.
        sent = ::send(fd, record.constData(), size_t(record.size()), MSG_NOSIGNAL) == record.size();
    }
    ::close(fd);
    return sent;
}

} // namespace platform
