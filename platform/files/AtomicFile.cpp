#include "AtomicFile.h"

#include <QFile>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString Cause(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

bool WriteAll(int fd, const char *p, size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, p, n);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (done == 0) { // no progress and no error: treat as a full device
            errno = ENOSPC;
            return false;
        }
        p += done;
        n -= size_t(done);
    }
    return true;
}

} // namespace

QString WriteFileAtomically(const QString &path, QByteArrayView bytes) {
    return WriteFileAtomicallyAt(QFile::encodeName(path), bytes);
}

QString WriteFileAtomicallyAt(const QByteArray &target, QByteArrayView bytes) {
    if (target.isEmpty())
        return Cause(ENOENT);
    QByteArray temp = target + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return Cause(errno);
    // A replaced file keeps its permissions; a new one is the user's alone.
    struct stat old {};
    if (::stat(target.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & 07777);
    int err = 0;
    if (!WriteAll(fd, bytes.data(), size_t(bytes.size())) || ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0 && errno != EINTR)
        err = errno;
    if (err == 0 && ::rename(temp.constData(), target.constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(temp.constData());
        return Cause(err);
    }
    return QString();
}

} // namespace platform
