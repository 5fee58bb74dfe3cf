// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the fuzz targets share: a property check that stops the run (so the
// fuzzer keeps the input), and a scratch file for targets that read files.

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);      \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

// One file per process, rewritten in place for every input: opening,
// truncating and closing a file for each input would cost more than most
// inputs take to check. It is removed when the process ends normally.
inline QString ScratchFile(const QByteArray &bytes) {
    struct TScratch {
        QByteArray path;
        int fd = -1;
        TScratch() {
            const char *tmp = std::getenv("TMPDIR");
            path = QByteArray(tmp && *tmp ? tmp : "/tmp") + "/brindle-fuzz-" +
                   QByteArray::number(::getpid());
            fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW,
                        0600);
        }
        ~TScratch() {
            ::close(fd);
            ::unlink(path.constData());
        }
    };
    static const TScratch scratch;
    FUZZ_CHECK(scratch.fd >= 0);
    FUZZ_CHECK(::pwrite(scratch.fd, bytes.constData(), size_t(bytes.size()), 0) == bytes.size());
    FUZZ_CHECK(::ftruncate(scratch.fd, bytes.size()) == 0);
    return QString::fromLocal8Bit(scratch.path);
}
