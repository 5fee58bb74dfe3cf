// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole: what is replaced, what is refused, and the mode
// the new file gets.

#include "AtomicFile.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray Native(const QString &path) {
    return QFile::encodeName(path);
}

QByteArray Content(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool IsLink(const QString &path) {
    struct stat st {};
    return ::lstat(Native(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

mode_t ModeOf(const QString &path) {
    struct stat st {};
    EXPECT_EQ(::stat(Native(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

// Names in a folder other than those given: a temporary file left behind.
QStringList Others(const QString &folder, const QStringList &expected) {
    QStringList names = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                               QDir::NoDotAndDotDot);
    for (const QString &e : expected)
        names.removeAll(e);
    return names;
}

class UmaskScope {
public:
    explicit UmaskScope(mode_t m) : fOld(::umask(m)) {}
    ~UmaskScope() { ::umask(fOld); }

private:
    mode_t fOld;
};

// A link is written through: the file it leads to gets the new content, in
// its own folder, and the link stays a link.
TEST(AtomicFile, WritesThroughSymbolicLinks) {
    TempDir dir;
    dir.write("real/target.txt", "old");
    QDir().mkpath(dir.file("links"));
    const struct {
        const char *what;
        QString link;
        QByteArray to;
        QString target;
    } cases[] = {
        {"relative link", dir.file("links/rel"), "../real/target.txt", dir.file("real/target.txt")},
        {"absolute link", dir.file("links/abs"), Native(dir.file("real/target.txt")),
         dir.file("real/target.txt")},
        {"link to a link", dir.file("links/chain"), "rel", dir.file("real/target.txt")},
        {"dangling link", dir.file("links/new"), "../real/made.txt", dir.file("real/made.txt")},
    };
    for (const auto &c : cases) {
        ASSERT_EQ(::symlink(c.to.constData(), Native(c.link).constData()), 0) << c.what;
        const QByteArray bytes = QByteArray("new by ") + c.what;
        EXPECT_EQ(platform::WriteFileAtomically(c.link, bytes), QString()) << c.what;
        EXPECT_TRUE(IsLink(c.link)) << c.what;
        EXPECT_EQ(Content(c.target), bytes) << c.what;
    }
    EXPECT_EQ(Others(dir.file("real"), {"target.txt", "made.txt"}), QStringList());
    EXPECT_EQ(Others(dir.file("links"), {"rel", "abs", "chain", "new"}), QStringList());
}

// What is not a regular file is never replaced, whether named or reached by
// a link; a loop of links is an error too.
TEST(AtomicFile, RefusesWhatIsNotARegularFile) {
    TempDir dir;
    const QString fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(Native(fifo).constData(), 0600), 0);
    QDir().mkpath(dir.file("folder"));
    const QString toDevice = dir.file("to-device");
    ASSERT_EQ(::symlink("/dev/null", Native(toDevice).constData()), 0);
    const QString loop = dir.file("loop");
    ASSERT_EQ(::symlink("loop", Native(loop).constData()), 0);
    const struct {
        QString path;
        QString cause;
    } cases[] = {
        {fifo, "not a regular file"},
        {dir.file("folder"), "not a regular file"},
        {toDevice, "not a regular file"},
        {loop, "Too many levels of symbolic links"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(platform::WriteFileAtomically(c.path, "x"), c.cause) << c.path.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::lstat(Native(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_TRUE(IsLink(toDevice));
    EXPECT_TRUE(IsLink(loop));
    EXPECT_EQ(Others(dir.path(), {"fifo", "folder", "to-device", "loop"}), QStringList());
}

// A new file gets the mode the umask gives; a replaced one keeps its own.
TEST(AtomicFile, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
    TempDir dir;
    for (const mode_t mask : {mode_t(022), mode_t(027), mode_t(002), mode_t(077)}) {
        const QString path = dir.file(QStringLiteral("new-%1").arg(mask, 3, 8, QLatin1Char('0')));
        {
            UmaskScope scope(mask);
            ASSERT_EQ(platform::WriteFileAtomically(path, "x"), QString());
        }
        EXPECT_EQ(ModeOf(path), 0666 & ~mask) << std::oct << mask;
    }
    const QString kept = dir.write("kept", "old");
    ASSERT_EQ(::chmod(Native(kept).constData(), 0604), 0);
    UmaskScope scope(077);
    ASSERT_EQ(platform::WriteFileAtomically(kept, "new"), QString());
    EXPECT_EQ(ModeOf(kept), mode_t(0604));
    EXPECT_EQ(Content(kept), "new");
}

} // namespace
