// SPDX-License-Identifier: GPL-3.0-or-later
#include "AtomicFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
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

// The file a chain of symbolic links ends at (the path itself when it is no
// link); the end may not exist yet. 0 on success, else the errno.
int FollowLinks(QByteArray &path) {
    for (int hops = 0;; ++hops) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0)
            return errno == ENOENT ? 0 : errno;
        if (!S_ISLNK(st.st_mode))
            return 0;
        if (hops == 40) // as the kernel counts, so a loop ends
            return ELOOP;
        QByteArray to(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.constData(), to.data(), size_t(to.size()));
        if (n < 0)
            return errno;
        to.truncate(n);
        if (to.startsWith('/')) {
            path = to;
        } else {
            const qsizetype slash = path.lastIndexOf('/');
            path = (slash < 0 ? QByteArray() : path.left(slash + 1)) + to;
        }
    }
}

// A fresh file beside `target`, opened with mode 0666 so that the umask
// (and a folder's default ACL) decides what a new file's mode is.
int CreateTemp(const QByteArray &target, QByteArray &temp) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = target + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

} // namespace

QString WriteFileAtomically(const QString &path, QByteArrayView bytes) {
    return WriteFileAtomicallyAt(QFile::encodeName(path), bytes);
}

QString WriteFileAtomicallyAt(const QByteArray &nativePath, QByteArrayView bytes) {
    if (nativePath.isEmpty())
        return Cause(ENOENT);
    QByteArray target = nativePath;
    if (const int err = FollowLinks(target); err != 0)
        return Cause(err);
    struct stat old {};
    const bool replacing = ::stat(target.constData(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode))
        return QStringLiteral("not a regular file");
    QByteArray temp;
    const int fd = CreateTemp(target, temp);
    if (fd < 0)
        return Cause(errno);
    if (replacing) {
        // Owner first: changing it may clear the set-id bits the mode restores.
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
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
