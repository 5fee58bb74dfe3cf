// SPDX-License-Identifier: GPL-3.0-or-later
#include "LimitedDisk.h"

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr char kCannot[] = "\x01"
                           "cannot set up the limit";

bool FillUp(const QByteArray &folder) {
    const QByteArray filler = folder + "/filler";
    const int fd = ::open(filler.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    char block[4096] = {};
    while (::write(fd, block, sizeof block) > 0) {
    }
    const bool full = errno == ENOSPC;
    // Even a one-byte write must fail.
    while (::write(fd, block, 1) > 0) {
    }
    ::close(fd);
    return full;
}

bool SetUp(TDiskLimit limit, const QByteArray &folder, const std::function<void()> &prepare) {
    if (limit == TDiskLimit::FullFolder) {
        if (::unshare(CLONE_NEWNS) != 0 ||
            ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            ::mount("tmpfs", folder.constData(), "tmpfs", 0, "size=256k") != 0)
            return false;
        if (prepare)
            prepare();
        return FillUp(folder);
    }
    if (prepare)
        prepare();
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4, 4};
    return ::setrlimit(RLIMIT_FSIZE, &small) == 0;
}

} // namespace

std::optional<QString> RunWithDiskLimit(TDiskLimit limit, const QString &folder,
                                        const std::function<void()> &prepare,
                                        const std::function<QString()> &body) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        ::close(fds[0]);
        const QByteArray answer = SetUp(limit, QFile::encodeName(folder), prepare)
                                      ? body().toUtf8()
                                      : QByteArray(kCannot);
        const char *p = answer.constData();
        qsizetype left = answer.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], p, size_t(left));
            if (n <= 0)
                break;
            p += n;
            left -= n;
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray answer;
    char buf[4096];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) != 0;) {
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        answer.append(buf, n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (answer == kCannot)
        return std::nullopt;
    return QString::fromUtf8(answer);
}
