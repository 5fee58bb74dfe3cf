// SPDX-License-Identifier: GPL-3.0-or-later
#include "CodeUnitOrder.h"
#include "FileNames.h"
#include "FolderWalk.h"
#include "TFileAndDirIterator.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

using suite::DecodeFileName;
using suite::EncodeFileName;
using suite::TFolderWalk;

namespace {

QStringList WalkAll(const QString &head, bool subfolders = true) {
    TFolderWalk walk(head, subfolders);
    QStringList out;
    QString path;
    while (walk.Next(path))
        out << path;
    return out;
}

// The plain walk, by full paths, as the oracle for the descriptor-based one.
void PlainWalk(const QByteArray &folder, QStringList &out) {
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return;
    QStringList files, folders;
    while (dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        struct stat st;
        const QByteArray full = folder + '/' + e->d_name;
        if (::lstat(full.constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            folders << DecodeFileName(e->d_name);
        else if (::stat(full.constData(), &st) == 0 && S_ISREG(st.st_mode))
            files << DecodeFileName(e->d_name);
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end(), suite::CodeUnitLess);
    std::sort(folders.begin(), folders.end(), suite::CodeUnitLess);
    for (const QString &f : files)
        out << DecodeFileName(folder) + '/' + f;
    for (const QString &d : folders)
        PlainWalk(folder + '/' + EncodeFileName(d), out);
}

// Drops the capabilities that let root read any folder, for this thread,
// while alive; so a mode-000 folder is unreadable even when the tests run as
// root.
class TNoReadOverride {
public:
    TNoReadOverride() {
        __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
        if (::syscall(SYS_capget, &h, fSaved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {fSaved[0], fSaved[1]};
        lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        fOk = ::syscall(SYS_capset, &h, lowered) == 0;
    }
    ~TNoReadOverride() {
        __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
        if (fOk)
            ::syscall(SYS_capset, &h, fSaved);
    }

private:
    __user_cap_data_struct fSaved[2] = {};
    bool fOk = false;
};

// Makes a chain of `depth` folders named `step` under `top` with `leaf` (a
// file) at the bottom, by descriptors: its paths are longer than any path call
// takes.
void MakeChain(const QString &top, int depth, const char *step, const char *leaf) {
    int fd = ::open(EncodeFileName(top).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < depth; ++i) {
        ASSERT_EQ(::mkdirat(fd, step, 0700), 0) << i;
        const int next = ::openat(fd, step, O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    const int f = ::openat(fd, leaf, O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(f, 0);
    ::close(f);
    ::close(fd);
}

// Removes what MakeChain made, bottom up, by descriptors.
void RemoveChain(const QString &top, int depth, const char *step, const char *leaf) {
    std::vector<int> fds{::open(EncodeFileName(top).constData(), O_RDONLY | O_DIRECTORY)};
    for (int i = 0; i < depth && fds.back() >= 0; ++i)
        fds.push_back(::openat(fds.back(), step, O_RDONLY | O_DIRECTORY));
    if (fds.back() >= 0)
        ::unlinkat(fds.back(), leaf, 0);
    for (size_t i = fds.size() - 1; i > 0; --i) {
        ::close(fds[i]);
        ::unlinkat(fds[i - 1], step, AT_REMOVEDIR);
    }
    ::close(fds[0]);
}

} // namespace

TEST(FolderWalk, NamesKeepTheirBytesAndTheOrderIsThePlainWalks) {
    TempDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    for (const QByteArray &rel :
         {QByteArray("bad\xFFname.txt"), QByteArray("caf\xE9.txt"), QByteArray("caf\xC3\xA9.txt"),
          QByteArray("a.txt"), QByteArray("z\xE9/inner.txt"), QByteArray("sub/b.txt"),
          QByteArray("sub/deep/\x80.txt"), QByteArray(".hid/x.txt")}) {
        const QByteArray full = root + '/' + rel;
        for (qsizetype at = rel.indexOf('/'); at >= 0; at = rel.indexOf('/', at + 1))
            ::mkdir((root + '/' + rel.left(at)).constData(), 0700);
        const int fd = ::open(full.constData(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0) << rel.toStdString();
        ASSERT_EQ(::write(fd, "x", 1), 1);
        ::close(fd);
    }
    QStringList plain;
    PlainWalk(root, plain);
    const QStringList walked = WalkAll(dir.path());
    EXPECT_EQ(walked, plain);
    EXPECT_EQ(walked.size(), 7);
    // Each path opens as it is: its bytes are the name's.
    for (const QString &p : walked) {
        struct stat st;
        EXPECT_EQ(::stat(EncodeFileName(p).constData(), &st), 0)
            << suite::DisplayFileName(p).toStdString();
    }
    EXPECT_TRUE(walked.contains(dir.path() + "/bad" + QChar(0xDCFF) + "name.txt"));
}

TEST(FolderWalk, UnreadableFoldersAreReportedWithTheirCauseAndTheWalkGoesOn) {
    TempDir dir;
    dir.write("a/1.txt", "x");
    dir.write("b/locked/2.txt", "x");
    dir.write("c/3.txt", "x");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.file("b/locked")).constData(), 0), 0);
    QStringList walked;
    std::vector<suite::TUnreadableFolder> reported;
    {
        TNoReadOverride asAUser;
        TFolderWalk walk(dir.path(), true);
        walk.onUnreadable = [&](const suite::TUnreadableFolder &u) { reported.push_back(u); };
        QString p;
        while (walk.Next(p))
            walked << p;
        EXPECT_EQ(walk.HeadError(), 0);
    }
    ::chmod(QFile::encodeName(dir.file("b/locked")).constData(), 0700);
    EXPECT_EQ(walked, (QStringList{dir.file("a/1.txt"), dir.file("c/3.txt")}));
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].path, dir.file("b/locked"));
    EXPECT_EQ(reported[0].cause, QStringLiteral("Permission denied"));

    // The top folder itself: missing, or not a folder.
    struct Case {
        QString head;
        int err;
    } heads[] = {{dir.file("nowhere"), ENOENT}, {dir.file("a/1.txt"), ENOTDIR}};
    for (const Case &c : heads) {
        TFolderWalk walk(c.head, true);
        QString p;
        EXPECT_FALSE(walk.Next(p));
        EXPECT_EQ(walk.HeadError(), c.err);
        ASSERT_EQ(walk.Unreadable().size(), 1u);
        EXPECT_EQ(walk.Unreadable()[0].path, c.head);
    }
}

TEST(FolderWalk, PathsLongerThanAnyPathCallTakesAreWalked) {
    // 100 folders of 100-byte names: paths of 10 000 bytes, well past
    // PATH_MAX, and deeper than the descriptors the walk keeps open.
    TempDir dir;
    constexpr int kDepth = 100;
    const std::string step(100, 'd');
    MakeChain(dir.path(), kDepth, step.c_str(), "bottom.txt");
    dir.write("top.txt", "x");
    const QStringList walked = WalkAll(dir.path());
    RemoveChain(dir.path(), kDepth, step.c_str(), "bottom.txt");
    ASSERT_EQ(walked.size(), 2);
    EXPECT_EQ(walked[0], dir.file("top.txt"));
    EXPECT_EQ(walked[1], dir.path() + QString::fromStdString("/" + step).repeated(kDepth) +
                             QStringLiteral("/bottom.txt"));
}

TEST(FolderWalk, DeepBranchingTreesMatchThePlainWalk) {
    // Two subfolders a level, 60 levels: the walk must close folders on the
    // way down and open them again on the way back.
    TempDir dir;
    QString rel;
    for (int level = 0; level < 60; ++level) {
        dir.write(rel + QStringLiteral("side/f%1.txt").arg(level), "x");
        dir.write(rel + QStringLiteral("f%1.txt").arg(level), "x");
        rel += QStringLiteral("next/");
    }
    QStringList plain;
    PlainWalk(QFile::encodeName(dir.path()), plain);
    EXPECT_EQ(WalkAll(dir.path()), plain);
    EXPECT_EQ(WalkAll(dir.path(), false), (QStringList{dir.file("f0.txt")}));
}

// A link to a file counts only when the file (all links resolved) lies inside
// the folder walked: a walk of a folder someone else owns never reads what
// lies outside it. Each link left out is named with its target; with
// followLinks every link to a file is followed.
TEST(FolderWalk, LinksOutOfTheFolderAreLeftOutAndNamedUnlessAllAreFollowed) {
    TempDir dir;
    dir.write("outside/secret.txt", "s");
    dir.write("corpus/a.txt", "a");
    dir.write("corpus/sub/b.txt", "b");
    const QString corpus = dir.file("corpus"), secret = dir.file("outside/secret.txt");
    const auto link = [&](const QString &target, const QString &name) {
        ASSERT_EQ(::symlink(EncodeFileName(target).constData(),
                            EncodeFileName(corpus + '/' + name).constData()),
                  0)
            << name.toStdString();
    };
    link(secret, "out.txt");                         // absolute, out
    link("../outside/secret.txt", "relative.txt");   // relative, out
    link("sub/b.txt", "in.txt");                     // inside
    link("../sub/../a.txt", "sub/up-and-in.txt");    // inside, by way of ".."
    link(corpus + "/out.txt", "sub/via-a-link.txt"); // an inside link that leads out
    link(dir.file("outside"), "folder");             // a folder: never followed
    ASSERT_EQ(::symlink(EncodeFileName(corpus).constData(),
                        EncodeFileName(dir.file("corpus-link")).constData()),
              0);
    const QString real = QFileInfo(secret).canonicalFilePath();
    for (const QString &head : {corpus, dir.file("corpus-link")}) {
        for (const bool follow : {false, true}) {
            TFolderWalk walk(head, true);
            walk.followLinks = follow;
            QStringList outside;
            walk.onOutsideLink = [&](const QString &path, const QString &target) {
                outside << path.mid(head.size() + 1) + " -> " + target;
            };
            QStringList found;
            QString path;
            while (walk.Next(path))
                found << path.mid(head.size() + 1);
            if (follow) {
                EXPECT_EQ(found,
                          (QStringList{"a.txt", "in.txt", "out.txt", "relative.txt", "sub/b.txt",
                                       "sub/up-and-in.txt", "sub/via-a-link.txt"}));
                EXPECT_TRUE(outside.isEmpty());
            } else {
                EXPECT_EQ(found, (QStringList{"a.txt", "in.txt", "sub/b.txt", "sub/up-and-in.txt"}))
                    << head.toStdString();
                outside.sort(); // as the folder is read, in no set order
                EXPECT_EQ(outside, (QStringList{"out.txt -> " + real, "relative.txt -> " + real,
                                                "sub/via-a-link.txt -> " + real}));
            }
        }
    }
    // The window's walk leaves them out too.
    suite::TFileAndDirIterator it;
    it.HeadDir = corpus;
    it.IterateFindingFiles();
    EXPECT_EQ(it.FoundFiles().size(), 4);
    EXPECT_FALSE(it.FoundFiles().contains(corpus + "/out.txt"));
}
