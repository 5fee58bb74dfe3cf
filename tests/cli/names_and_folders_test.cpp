// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-scan on names that are not UTF-8, unreadable folders and paths
// longer than PATH_MAX: the real binary, arguments passed as exact bytes.
#include "Dialogs.h"
#include "FileNames.h"
#include "Fixtures.h"
#include "TFileAndDirIterator.h"
#include "TempDir.h"
#include "file_crap_detector.h"

#include <QFile>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

struct Result {
    int exit = -1;
    QByteArray out;
    QByteArray err;
};

// Runs `argv` (exact bytes) with standard output and error caught in files.
Result RunBytes(const std::vector<QByteArray> &argv, const TempDir &dir) {
    const QByteArray outFile = QFile::encodeName(dir.file(".out")),
                     errFile = QFile::encodeName(dir.file(".err"));
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, outFile.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&fa, 2, errFile.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<char *> args;
    for (const QByteArray &a : argv)
        args.push_back(const_cast<char *>(a.constData()));
    args.push_back(nullptr);
    pid_t pid = -1;
    Result r;
    if (posix_spawnp(&pid, args[0], &fa, nullptr, args.data(), environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
        r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&fa);
    QFile o(QFile::decodeName(outFile)), e(QFile::decodeName(errFile));
    if (o.open(QIODevice::ReadOnly))
        r.out = o.readAll();
    if (e.open(QIODevice::ReadOnly))
        r.err = e.readAll();
    return r;
}

const QByteArray kCut("ab\0cdefghijkl", 13);
const QByteArray kScan(BRINDLE_SCAN);

} // namespace

TEST(NamesAndFolders, NamesThatAreNotUtf8AreCheckedAndListed) {
    TempDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    ASSERT_EQ(::mkdir(root + "/d", 0700), 0);
    const QByteArray bad = root + "/d/bad\xFFname.txt";
    WriteFileBytes(bad, kCut);
    WriteFileBytes(root + "/d/caf\xE9.txt", GoodText(4));
    // A reference named in Latin-1.
    const QByteArray ref = root + "/r\xE9"
                                  "f.txt";
    WriteFileBytes(ref, GoodText(60));

    for (const char *jobs : {"1", "2"}) {
        const Result r = RunBytes({kScan, "-d", "-r", ref, "-j", jobs, root + "/d"}, dir);
        EXPECT_EQ(r.exit, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        // One line, for the cut file (however its name is written).
        EXPECT_EQ(r.out.count('\n'), 1) << r.out.toStdString();
        EXPECT_TRUE(r.out.startsWith(root + "/d/bad")) << r.out.toStdString();
        EXPECT_TRUE(r.out.endsWith("name.txt\tFile-size 13 but text-length 4\n"))
            << r.out.toStdString();
    }
    // The same file in a list, as bytes.
    {
        WriteFileBytes(root + "/list", bad + "\n");
        const Result r = RunBytes({kScan, "--files-from", root + "/list"}, dir);
        EXPECT_EQ(r.exit, 1) << r.err.toStdString();
        EXPECT_EQ(r.out.count('\n'), 1);
    }

    // The detector finds it too, by the same bytes.
    suite::TRecordingDialogService quiet;
    auto *old = suite::SetDialogService(&quiet);
    suite::TFileAndDirIterator walk;
    walk.HeadDir = suite::DecodeFileName(root + "/d");
    walk.IterateFindingFiles();
    TFileCrapDetector d;
    d.SetReferenceFiles(suite::DecodeFileName(ref) + QStringLiteral("\r\n"));
    d.digraph_percent_fail_allowed = 10;
    d.CheckForCrap(walk.FoundFiles(), true, {}, {});
    suite::SetDialogService(old);
    EXPECT_TRUE(quiet.shown.empty()) << quiet.shown[0].text.toStdString();
    ASSERT_EQ(d.weird_files.Count(), 1);
    EXPECT_EQ(suite::EncodeFileName(d.weird_files.Strings(0)), bad);
    EXPECT_EQ(d.weird_files.Objects(0)->data(), QStringLiteral("File-size 13 but text-length 4"));
}

TEST(NamesAndFolders, UnreadableFoldersAreNamedWithTheirCause) {
    TempDir dir;
    dir.write("d/a.txt", GoodText(3));
    dir.write("d/locked/cut.txt", kCut);
    const QByteArray d = QFile::encodeName(dir.file("d"));
    const QByteArray locked = d + "/locked";
    ASSERT_EQ(::chmod(locked.constData(), 0), 0);
    // Root reads any folder; run it without that power.
    std::vector<QByteArray> prefix;
    if (::geteuid() == 0) {
        if (::access("/usr/bin/setpriv", X_OK) != 0)
            GTEST_SKIP() << "running as root and setpriv (util-linux) is missing";
        prefix = {"/usr/bin/setpriv", "--bounding-set=-dac_override,-dac_read_search"};
    }
    struct Case {
        QByteArray folder;
        QByteArray err;
    } cases[] = {
        {d, "brindle-scan: " + locked + ": folder could not be read: Permission denied\n"},
        // The top folder itself.
        {locked, "brindle-scan: " + locked + ": folder could not be read: Permission denied\n"},
    };
    for (const Case &c : cases) {
        for (const char *jobs : {"1", "2"}) {
            std::vector<QByteArray> argv = prefix;
            for (const QByteArray &a :
                 {kScan, QByteArray("-s"), QByteArray("-j"), QByteArray(jobs), c.folder})
                argv.push_back(a);
            const Result r = RunBytes(argv, dir);
            EXPECT_EQ(r.exit, 2) << c.folder.toStdString();
            EXPECT_EQ(r.err, c.err);
            EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        }
    }
    ::chmod(locked.constData(), 0700);
}

TEST(NamesAndFolders, FilesDeeperThanPathMaxAreChecked) {
    TempDir dir;
    constexpr int kDepth = 50; // 50 names of 100 bytes: past PATH_MAX
    const std::string step(100, 'n');
    int fd = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    std::vector<int> fds{fd};
    for (int i = 0; i < kDepth; ++i) {
        ASSERT_EQ(::mkdirat(fds.back(), step.c_str(), 0700), 0);
        fds.push_back(::openat(fds.back(), step.c_str(), O_RDONLY | O_DIRECTORY));
        ASSERT_GE(fds.back(), 0);
    }
    const int f = ::openat(fds.back(), "cut.txt", O_WRONLY | O_CREAT, 0600);
    ASSERT_EQ(::write(f, kCut.constData(), size_t(kCut.size())), kCut.size());
    ::close(f);

    for (const char *jobs : {"1", "2"}) {
        const Result r = RunBytes({kScan, "-s", "-j", jobs, QFile::encodeName(dir.path())}, dir);
        EXPECT_EQ(r.exit, 1) << r.err.toStdString();
        EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        EXPECT_TRUE(r.out.endsWith("/cut.txt\tFile-size 13 but text-length 4\n"));
        EXPECT_GT(r.out.size(), 5000);
    }
    // Clean up bottom up: the tree is too deep for a path-based removal.
    ::unlinkat(fds.back(), "cut.txt", 0);
    for (size_t i = fds.size() - 1; i > 0; --i) {
        ::close(fds[i]);
        ::unlinkat(fds[i - 1], step.c_str(), AT_REMOVEDIR);
    }
    ::close(fds[0]);
}

// A name with control characters (an ESC that would drive the terminal) is
// escaped in the output and in messages alike; nothing raw reaches either.
TEST(NamesAndFolders, ControlCharactersInNamesNeverReachTheTerminalRaw) {
    TempDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    ASSERT_EQ(::mkdir(root + "/d", 0700), 0);
    WriteFileBytes(root + "/d/\x1b]0;owned\x07.txt", kCut);
    const Result r = RunBytes({kScan, root + "/d", root + "/gone\x1b[2J"}, dir);
    EXPECT_EQ(r.exit, 2) << r.err.toStdString();
    EXPECT_EQ(r.out, root + "/d/\\x1b]0;owned\\x07.txt\tFile-size 13 but text-length 4\n");
    EXPECT_FALSE(r.err.contains('\x1b')) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("gone\\x1b[2J")) << r.err.toStdString();
}

// Links to files outside the folder walked are left out and named on
// standard error (as root, a walk of someone's folder would otherwise read
// /etc/shadow); --follow-links follows them; a file named as an argument is
// checked as given.
TEST(NamesAndFolders, LinksOutOfTheFolderAreNotFollowedUnlessAsked) {
    TempDir dir;
    const QByteArray root = QFile::encodeName(dir.path());
    ASSERT_EQ(::mkdir(root + "/corpus", 0700), 0);
    ASSERT_EQ(::mkdir(root + "/private", 0700), 0);
    WriteFileBytes(root + "/private/secret.txt", kCut);
    WriteFileBytes(root + "/corpus/own.txt", kCut);
    ASSERT_EQ(::symlink(root + "/private/secret.txt", root + "/corpus/out.txt"), 0);
    ASSERT_EQ(::symlink("own.txt", root + "/corpus/in.txt"), 0);
    const Result left = RunBytes({kScan, "--list", root + "/corpus"}, dir);
    EXPECT_EQ(left.exit, 0) << left.err.toStdString();
    EXPECT_EQ(left.out, root + "/corpus/in.txt\n" + root + "/corpus/own.txt\n");
    EXPECT_EQ(left.err, "brindle-scan: " + root + "/corpus/out.txt: not checked: a link to " +
                            root + "/private/secret.txt, outside the folder (--follow-links " +
                            "follows it)\n");
    const Result checked = RunBytes({kScan, root + "/corpus"}, dir);
    EXPECT_EQ(checked.exit, 1) << checked.err.toStdString();
    EXPECT_FALSE(checked.out.contains("out.txt")) << checked.out.toStdString();

    const Result followed = RunBytes({kScan, "--list", "--follow-links", root + "/corpus"}, dir);
    EXPECT_EQ(followed.exit, 0) << followed.err.toStdString();
    EXPECT_TRUE(followed.err.isEmpty()) << followed.err.toStdString();
    EXPECT_EQ(followed.out,
              root + "/corpus/in.txt\n" + root + "/corpus/out.txt\n" + root + "/corpus/own.txt\n");
    const Result named = RunBytes({kScan, "--list", root + "/corpus/out.txt"}, dir);
    EXPECT_EQ(named.out, root + "/corpus/out.txt\n");
}
