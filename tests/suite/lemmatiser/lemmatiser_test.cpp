// SPDX-License-Identifier: GPL-3.0-or-later
#include "TempDir.h"
#include "lemmatiser.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

struct Calls {
    std::vector<std::pair<int32_t, QString>> counts;
    std::vector<int32_t> progress;
    std::function<void(int32_t)> onProgress; // extra action per report
};

uint32_t Load(const QString &file, int32_t kind, Calls &calls, uint8_t tool = 18) {
    return LoadedOne(
        tool, reinterpret_cast<const char16_t *>(file.utf16()), kind,
        [&](int32_t n, const hundredwidechar &mess) {
            calls.counts.push_back({n, FromHundredWideChar(mess)});
        },
        [&](int32_t n) {
            calls.progress.push_back(n);
            if (calls.onProgress)
                calls.onProgress(n);
        },
        0, 0, 0);
}

QByteArray Lines(int n) {
    QByteArray text;
    for (int i = 0; i < n; ++i)
        text += "word" + QByteArray::number(i) + "\r\n";
    return text;
}

} // namespace

TEST(Lemmatiser, LoadsUtf8AndUtf16ListsAnnouncingCountAndNameFirst) {
    TempDir dir;
    struct Case {
        const char *file;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"stop.txt", "the\n\nand\r\n\xC3\xA9t\xC3\xA9\n"},
        {"stop16.txt", Utf16LeWithMark(QString::fromUtf8("the\nand\n\xC3\xA9t\xC3\xA9"))},
    };
    for (const Case &c : cases) {
        Calls calls;
        EXPECT_NE(Load(dir.write(c.file, c.bytes), 1, calls) & 0xFFFF, 0u) << c.file;
        const QString name = QString::fromLatin1(c.file).section('.', 0, 0);
        EXPECT_EQ(calls.counts, (std::vector<std::pair<int32_t, QString>>{{3, name}}));
        EXPECT_EQ(calls.progress, (std::vector<int32_t>{1, 2, 3}));
        EXPECT_EQ(LoadedEntries(18, 1),
                  (QStringList{"the", "and", QString::fromUtf8("\xC3\xA9t\xC3\xA9")}));
    }
    ClearOne(18, 1);
    EXPECT_TRUE(LoadedEntries(18, 1).isEmpty());
}

TEST(Lemmatiser, ALongListReportsItsMiddleAndItsEnd) {
    TempDir dir;
    Calls calls;
    ASSERT_NE(Load(dir.write("l.txt", Lines(250)), 0, calls), 0u);
    EXPECT_EQ(calls.counts.at(0).first, 250);
    EXPECT_NE(std::find(calls.progress.begin(), calls.progress.end(), 125), calls.progress.end());
    EXPECT_EQ(calls.progress.front(), 1);
    EXPECT_EQ(calls.progress.back(), 250);
    EXPECT_TRUE(std::is_sorted(calls.progress.begin(), calls.progress.end()));
}

TEST(Lemmatiser, CancelFromTheProgressCallbackStopsTheLoadAndKeepsTheOldList) {
    TempDir dir;
    Calls first;
    ASSERT_NE(Load(dir.write("old.txt", "old\n"), 2, first), 0u);
    Calls calls;
    calls.onProgress = [](int32_t) { CancelOne(18, 0); };
    EXPECT_EQ(Load(dir.write("new.txt", Lines(1000)), 2, calls) & 0xFFFF, 0u);
    EXPECT_EQ(calls.progress, std::vector<int32_t>{1});
    EXPECT_EQ(LoadedEntries(18, 2), QStringList{"old"});
    // Another tool's cancel does not touch this tool's load.
    Calls other;
    other.onProgress = [](int32_t) { CancelOne(5, 0); };
    EXPECT_NE(Load(dir.file("new.txt"), 2, other), 0u);
    EXPECT_EQ(LoadedEntries(18, 2).size(), 1000);
}

TEST(Lemmatiser, UnreadableFilesAndBadKindsLoadNothing) {
    TempDir dir;
    const QString good = dir.write("g.txt", "a\n");
    struct Case {
        QString file;
        int32_t kind;
    };
    const Case cases[] = {{dir.file("missing.txt"), 0},
                          {good, 4},
                          {good, -1},
                          {dir.write("bad.txt", "ok\n\xFF\xFE\xFD broken\n"), 0}};
    for (const Case &c : cases) {
        Calls calls;
        EXPECT_EQ(Load(c.file, c.kind, calls), 0u) << c.file.toStdString() << c.kind;
        EXPECT_TRUE(calls.counts.empty());
    }
    // An empty file is an empty list, loaded.
    Calls calls;
    EXPECT_NE(Load(dir.write("empty.txt", ""), 3, calls), 0u);
    EXPECT_EQ(calls.counts.at(0).first, 0);
}

// Whatever stands where a list should be, the load ends at once with nothing
// loaded: a FIFO nobody writes to (it would block the open), a device that
// never ends, a file beyond the size cap.
TEST(Lemmatiser, OnlyRegularFilesWithinTheCapAreRead) {
    TempDir dir;
    const QString fifo = dir.file("list.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString huge = dir.file("huge.txt");
    {
        QFile f(huge);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(kMaxListFileSize + 1)); // sparse: takes no room
    }
    // Should the FIFO be opened blocking after all, a writer turns up after a
    // while, so the test fails instead of hanging.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const QDeadlineTimer late(5000);
        while (!done && !late.hasExpired())
            QThread::msleep(20);
        while (!done) {
            const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                (void)!::write(fd, "word\n", 5);
                ::close(fd);
                return;
            }
            QThread::msleep(20);
        }
    });
    for (const QString &file : {fifo, QStringLiteral("/dev/zero"), huge}) {
        Calls calls;
        EXPECT_EQ(Load(file, 1, calls), 0u) << file.toStdString();
        EXPECT_TRUE(LoadedEntries(18, 1).isEmpty());
    }
    done = true;
    writer.join();
}
