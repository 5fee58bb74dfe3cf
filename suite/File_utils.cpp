// SPDX-License-Identifier: GPL-3.0-or-later
#include "File_utils.h"

#include "FileNames.h"
#include "RunError.h"

#include <QList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace suite {

QString ErrnoText(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

namespace {
constexpr int kStepFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
}

int OpenFolderStepwise(int from, const QList<QByteArray> &steps, bool followLinks) {
    const int flags = followLinks ? kStepFlags : kStepFlags | O_NOFOLLOW;
    int fd = from;
    for (const QByteArray &step : steps) {
        if (fd < 0)
            return -1;
        if (step.isEmpty())
            continue;
        const int next = ::openat(fd, step.constData(), flags);
        const int err = errno;
        ::close(fd);
        errno = err;
        fd = next;
    }
    return fd;
}

int OpenParentStepwise(const QByteArray &path, QByteArray &leaf) {
    const qsizetype slash = path.lastIndexOf('/');
    leaf = slash < 0 ? path : path.mid(slash + 1);
    const int fd = ::open(path.startsWith('/') ? "/" : ".", kStepFlags);
    if (slash <= 0)
        return fd;
    return OpenFolderStepwise(fd, path.left(slash).split('/'), true);
}

bool DriveAndFileExist(const QString &path) {
    struct stat st;
    const QByteArray native = EncodeFileName(path);
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DriveAndFolderExist(const QString &path) {
    struct stat st;
    const QByteArray native = EncodeFileName(path);
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace suite
