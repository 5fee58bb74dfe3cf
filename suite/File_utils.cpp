#include "File_utils.h"

#include "ByteOrderMark.h"
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

int OpenParentStepwise(const QByteArray &path, QByteArray &leaf) {
    const qsizetype slash = path.lastIndexOf('/');
    leaf = slash < 0 ? path : path.mid(slash + 1);
    const int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    int fd = ::open(path.startsWith('/') ? "/" : ".", flags);
    if (slash <= 0)
        return fd;
    for (const QByteArray &step : path.left(slash).split('/')) {
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

bool RegularFileExists(const QString &path) {
    struct stat st;
    const QByteArray native = EncodeFileName(path);
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

int64_t FileSize(const QString &path) {
    struct stat st;
    if (::stat(EncodeFileName(path).constData(), &st) != 0)
        throw TRunError(path, ErrnoText(errno));
    return static_cast<int64_t>(st.st_size);
}

bool TextFileInUnicode(const QString &path) {
    // O_NONBLOCK: never wait on a FIFO that replaced the file meanwhile.
    const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        throw TRunError(path, ErrnoText(errno));
    unsigned char mark[3] = {0, 0, 0}; // room for any mark; two bytes tell UTF-16
    ssize_t got;
    do {
        got = ::read(fd, mark, 2);
    } while (got < 0 && errno == EINTR);
    const int err = errno;
    ::close(fd);
    if (got < 0)
        throw TRunError(path, ErrnoText(err));
    const TByteOrderMark kind = ByteOrderMarkOf(mark, got < 0 ? 0 : size_t(got));
    return kind == TByteOrderMark::Utf16LE || kind == TByteOrderMark::Utf16BE;
}

bool DriveAndFileExist(const QString &path) {
    return RegularFileExists(path);
}

bool DriveAndFolderExist(const QString &path) {
    struct stat st;
    const QByteArray native = EncodeFileName(path);
    return !native.isEmpty() && ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace suite
