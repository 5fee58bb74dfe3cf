// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"
#include "Fixtures.h"
#include "RunError.h"
#include "TempDir.h"
#include "TextTables.h"
#include "file_crap_detector.h"

#include <QDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct DetectorFixture : testing::Test {
    TempDir dir;
    suite::TRecordingDialogService dialogs;
    suite::TDialogService *previous = nullptr;
    TFileCrapDetector detector;
    std::vector<int> percents, percents2;

    void SetUp() override { previous = suite::SetDialogService(&dialogs); }
    void TearDown() override { suite::SetDialogService(previous); }

    void UseReference(const QStringList &names) {
        detector.SetReferenceFiles(names.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    }
    void Run(const QStringList &files, bool thorough = false) {
        detector.CheckForCrap(
            files, thorough, [this](int p) { percents.push_back(p); },
            [this](int p) { percents2.push_back(p); });
    }
    QStringList Listed() const {
        QStringList out;
        for (int i = 0; i < detector.weird_files.Count(); ++i)
            out << QDir(dir.path()).relativeFilePath(detector.weird_files.Strings(i)) +
                       QLatin1Char('=') + detector.weird_files.Objects(i)->data();
        return out;
    }
};

} // namespace

TEST_F(DetectorFixture, EightFilesReportRoundedProgressAndListSuspectsInOrder) {
    UseReference({dir.write("ref.txt", GoodText(20))});
    QStringList files;
    for (int i = 0; i < 8; ++i)
        files << dir.write(QStringLiteral("f%1.txt").arg(i),
                           i == 2 ? QByteArray("ab\0\0\0\0\0\0\0\0\0\0", 12) : GoodText(2));
    files[5] = dir.file("missing.txt"); // skipped silently, counted as gone
    Run(files);
    EXPECT_EQ(percents, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(percents2, std::vector<int>{100});
    EXPECT_EQ(Listed(), QStringList{"f2.txt=File-size 12 but text-length 4"});
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(DetectorFixture, EmptyListStillReportsTheEnd) {
    UseReference({dir.write("ref.txt", GoodText(20))});
    Run({});
    EXPECT_EQ(percents, std::vector<int>{100});
    EXPECT_EQ(percents2, std::vector<int>{100});
    EXPECT_EQ(detector.weird_files.Count(), 0);
}

TEST_F(DetectorFixture, StopEndsTheRunAfterTheCurrentFile) {
    UseReference({dir.write("ref.txt", GoodText(20))});
    QStringList files;
    for (int i = 0; i < 6; ++i)
        files << dir.write(QStringLiteral("bad%1.txt").arg(i), CutText());
    detector.CheckForCrap(
        files, false,
        [this](int p) {
            percents.push_back(p);
            if (percents.size() == 3)
                detector.processing = false; // Stop pressed while file 3 starts
        },
        [this](int p) { percents2.push_back(p); });
    EXPECT_EQ(detector.weird_files.Count(), 3);
    EXPECT_EQ(percents.back(), 33); // no 100 after a stop
    EXPECT_TRUE(percents2.empty());
}

TEST_F(DetectorFixture, MissingReferenceAfterTwoGoodOnes) {
    UseReference(
        {dir.write("a.txt", GoodText(20)), dir.write("b.txt", GoodText(20)), dir.file("gone.txt")});
    // The missing file is named; no second message follows it.
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains(dir.file("gone.txt")));
    EXPECT_FALSE(detector.reference_setup);
    const QString bad = dir.write("bad.txt", CutText());
    Run({bad}, true);
    EXPECT_EQ(detector.weird_files.Count(), 0);
    EXPECT_TRUE(percents.empty());
    EXPECT_EQ(dialogs.shown.size(), 2u); // the run tried the build again
    // The size test alone needs no reference.
    Run({bad});
    ASSERT_EQ(detector.weird_files.Count(), 1);
    EXPECT_TRUE(
        detector.weird_files.Objects(0)->data().startsWith("File-size 35 but text-length "));
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

// The window's run over a folder, on any number of threads, gives the same
// entries, progress and counts as the one-job run over the same list; the
// counts say what the run did.
TEST_F(DetectorFixture, FolderRunOnAnyNumberOfJobsGivesWhatTheListRunGives) {
    UseReference({dir.write("ref.txt", GoodText(50))});
    QStringList files;
    for (int i = 0; i < 30; ++i) {
        QByteArray b = GoodText(1 + i % 4);
        if (i % 7 == 3)
            b[5] = 0;
        if (i % 7 == 5)
            b += OddDigraphText();
        files << dir.write(QStringLiteral("data/f%1.txt").arg(i, 2, 10, QLatin1Char('0')), b);
    }
    files[11] = dir.write("data/f11.txt", LopsidedText());
    Run(files, true);
    const QStringList listed = Listed();
    const std::vector<int> progress = percents;
    const TFileCrapDetector::TRunCounts one = detector.LastRun();
    EXPECT_EQ(one.files, 30);
    EXPECT_EQ(one.checked, 30);
    EXPECT_EQ(one.size_suspects, 4);
    EXPECT_EQ(one.digraph_suspects, 4);
    EXPECT_EQ(one.unreadable, 1);
    EXPECT_TRUE(one.finished);
    EXPECT_TRUE(listed.contains("data/f11.txt=lopsided data: stack overflow in Tree"));
    for (const int jobs : {1, 2, 3}) {
        percents.clear();
        detector.CheckFolder(
            dir.file("data"), false, true, [this](int p) { percents.push_back(p); }, {}, jobs);
        EXPECT_EQ(Listed(), listed) << jobs;
        // Each file's share is announced once, in order, then 100; waiting
        // for a file may announce the same share again, or 0 while the
        // number of files is not known yet.
        std::vector<int> distinct;
        for (const int p : percents)
            if (p != 0 && (distinct.empty() || distinct.back() != p))
                distinct.push_back(p);
        std::vector<int> expected;
        for (const int p : progress)
            if (p != 0 && (expected.empty() || expected.back() != p))
                expected.push_back(p);
        EXPECT_EQ(distinct, expected) << jobs;
        const TFileCrapDetector::TRunCounts &c = detector.LastRun();
        EXPECT_EQ(std::tie(c.files, c.checked, c.size_suspects, c.digraph_suspects, c.unreadable,
                           c.finished),
                  std::tie(one.files, one.checked, one.size_suspects, one.digraph_suspects,
                           one.unreadable, one.finished))
            << jobs;
    }
}

// Stopped as an entry is listed, a run ends before the next outcome, on
// this thread as on others, and says it did not finish.
TEST_F(DetectorFixture, StopEndsARunBeforeTheNextOutcome) {
    QStringList files;
    for (int i = 0; i < 200; ++i)
        files << dir.write(QStringLiteral("data/f%1.txt").arg(i, 3, 10, QLatin1Char('0')),
                           QByteArray("ab\0\0\0\0\0\0\0\0", 10));
    detector.SetOnListed([this](int index) {
        if (index == 49)
            detector.processing = false;
    });
    detector.CheckForCrap(files, false, {}, {});
    EXPECT_EQ(detector.weird_files.Count(), 50);
    EXPECT_EQ(detector.LastRun().checked, 50);
    EXPECT_FALSE(detector.LastRun().finished);
    for (const int jobs : {1, 2}) {
        detector.CheckFolder(dir.file("data"), false, false, {}, {}, jobs);
        EXPECT_EQ(detector.weird_files.Count(), 50) << jobs;
        EXPECT_EQ(detector.LastRun().checked, 50) << jobs;
        EXPECT_FALSE(detector.LastRun().finished) << jobs;
    }
}

TEST_F(DetectorFixture, ReferenceWithoutDigraphsIsUnusable) {
    UseReference({dir.write("digits.txt", "12345 67890\r\n")});
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(detector.reference_setup);
    dialogs.shown.clear();
    detector.SetReferenceFiles(QString()); // no reference at all
    EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(DetectorFixture, DigraphCheckListsStrayFilesWithBothKinds) {
    UseReference({dir.write("ref.txt", GoodText(50))});
    QByteArray stray;
    for (int i = 0; i < 30; ++i)
        stray += "Zyzzyva quixotic jazz buzz fizz the the\r\n";
    const QStringList files{dir.write("good.txt", GoodText(5)), dir.write("stray.txt", stray),
                            dir.write("empty.txt", "")};
    Run(files, true);
    ASSERT_EQ(detector.weird_files.Count(), 1);
    const QString reason = detector.weird_files.Objects(0)->data();
    EXPECT_TRUE(reason.startsWith(QStringLiteral("Too many: "))) << reason.toStdString();
    EXPECT_TRUE(reason.contains(QStringLiteral("Too few: ("))) << reason.toStdString();
    EXPECT_EQ(detector.weird_files.Objects(0)->details.test, engine::TSuspectTest::Digraph);
    EXPECT_EQ(detector.too_many_str + detector.too_few_str,
              reason.mid(10).replace(QStringLiteral("Too few: "), QString()));
}

TEST_F(DetectorFixture, SizeSuspectNeverGetsADigraphReason) {
    UseReference({dir.write("ref.txt", GoodText(50))});
    QByteArray cut = GoodText(3);
    cut[40] = 0;
    Run({dir.write("cut.txt", cut)}, true);
    ASSERT_EQ(detector.weird_files.Count(), 1);
    EXPECT_TRUE(detector.weird_files.Objects(0)->data().startsWith(QStringLiteral("File-size ")));
}

// Progress through a text: p * 100 div n at every multiple of 1024.
TEST_F(DetectorFixture, WithinFileProgress) {
    QString text(3000, QLatin1Char('A'));
    std::vector<int> seen;
    detector.SetOnPercent2([&](int p) { seen.push_back(p); });
    detector.StartReferenceProfile();
    detector.AddReferenceText(text);
    ASSERT_TRUE(detector.FinishReferenceProfile());
    detector.FailsDigraphCheck(text);
    EXPECT_EQ(seen, (std::vector<int>{34, 68}));
    seen.clear();
    detector.FailsDigraphCheck(QString(1000, QLatin1Char('A')));
    EXPECT_TRUE(seen.empty());

    // A file run reports from its one read: the share of the file's bytes
    // read after each block, then 100 at the end of the run.
    UseReference({dir.write("ref.txt", GoodText(50))});
    const int64_t size = 2 * engine::TTextFile::kBlock + engine::TTextFile::kBlock / 2;
    Run({dir.write("a.txt", QByteArray(size - 2, 'A') + "\r\n")}, true);
    EXPECT_EQ(percents2, (std::vector<int>{40, 80, 100, 100}));
}

TEST_F(DetectorFixture, FileAndTextChecksAgree) {
    UseReference({dir.write("ref.txt", GoodText(50))});
    struct Case {
        const char *name;
        QByteArray text;
        bool fails;
    } cases[] = {
        {"odd.txt", OddDigraphText(), true},
        {"mixed.txt", GoodText(2) + OddDigraphText(), true},
        // A few odd words are within the tolerance.
        {"few odd words.txt", GoodText(4) + "Zebra zoo jazz quiz\r\n", false},
        {"good.txt", GoodText(4), false},
    };
    for (const Case &c : cases) {
        detector.weird_files.Clear();
        Run({dir.write(QString::fromLatin1(c.name), c.text)}, true);
        ASSERT_EQ(detector.weird_files.Count(), c.fails ? 1 : 0) << c.name;
        ASSERT_EQ(detector.FailsDigraphCheck(QString::fromLatin1(c.text).toUpper()), c.fails)
            << c.name;
        if (c.fails) {
            EXPECT_EQ(detector.weird_files.Objects(0)->data(),
                      engine::DigraphReason(detector.too_many_str, detector.too_few_str))
                << c.name;
        }
    }
}

TEST_F(DetectorFixture, SpecialFilesArePassedOverLikeMissingOnes) {
    UseReference({dir.write("ref.txt", GoodText(20))});
    const QString fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Run({fifo, dir.write("bad.txt", CutText())}, true);
    EXPECT_EQ(detector.weird_files.Count(), 1);
    EXPECT_EQ(percents, (std::vector<int>{0, 50, 100}));
}

TEST_F(DetectorFixture, LopsidedProfileIsListedAsUnreadableAndTheRunGoesOn) {
    UseReference({dir.write("ref.txt", GoodText(20))});
    // 2048 distinct digraphs first met in descending order, each 10 times.
    QString text;
    for (int round = 0; round < 10; ++round)
        for (int i = 2047; i >= 0; --i)
            text += QChar(char16_t(0x4E00 + i)) + QStringLiteral("A ");
    const QString bad = dir.write("lopsided.txt", Utf16LeWithMark(text + QStringLiteral("\r\n")));
    const QString before = dir.write("before.txt", CutText());
    const QString after = dir.write("after.txt", CutText());
    Run({before, bad, after}, true);
    ASSERT_EQ(detector.weird_files.Count(), 3);
    EXPECT_EQ(detector.weird_files.Strings(1), bad);
    EXPECT_TRUE(detector.weird_files.Objects(1)->unreadable);
    EXPECT_FALSE(detector.weird_files.Objects(2)->unreadable);
    EXPECT_EQ(detector.weird_files.Objects(1)->data(),
              QStringLiteral("lopsided data: stack overflow in Tree"));
    EXPECT_EQ(detector.LastRun().unreadable, 1);
    EXPECT_TRUE(detector.LastRun().finished);
}

// Every encoding's file check reaches the verdict and reason of the text check.
TEST_F(DetectorFixture, FileChecksAgreeWithTextChecksInEveryEncoding) {
    UseReference({dir.write("ref.txt", GoodText(50))});
    QString body;
    for (int i = 0; i < 40; ++i)
        body += QStringLiteral("Zebra zoo jazz quiz über straße ΑΒΓ αβγ the cat\r\n");
    const QString many = [] {
        QString s; // > 254 distinct letters: the ordered path
        for (int i = 0; i < 400; ++i)
            s += QChar(char16_t(0x4E00 + i)) + QStringLiteral("A ");
        return s + QStringLiteral("\r\n");
    }();
    struct Case {
        const char *name;
        QByteArray bytes;
        QString text;
    } cases[] = {
        {"utf16", Utf16LeWithMark(body), body},
        {"utf8", QByteArray("\xEF\xBB\xBF") + body.toUtf8(), body},
        {"cjk", Utf16LeWithMark(many), many},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Run({dir.write(QString::fromLatin1(c.name), c.bytes)}, true);
        const QString fileReason =
            detector.weird_files.Count() ? detector.weird_files.Objects(0)->data() : QString();
        QString upper = c.text; // one unit for one, as the loader does (no "SS" for ß)
        for (QChar &ch : upper)
            ch = QChar(engine::Tables().upper[ch.unicode()]);
        const bool textFails = detector.FailsDigraphCheck(upper);
        EXPECT_EQ(detector.weird_files.Count() == 1, textFails);
        EXPECT_EQ(fileReason,
                  textFails ? engine::DigraphReason(detector.too_many_str, detector.too_few_str)
                            : QString());
    }
}

// A read error lists the file with the system's cause, and the run goes on.
// (/proc/self/mem is a regular file whose first page cannot be read, even
// by root.)
TEST_F(DetectorFixture, ReadErrorIsListedWithTheCauseAndTheRunGoesOn) {
    UseReference({dir.write("ref.txt", GoodText(20))});
    const QString before = dir.write("before.txt", QByteArray("x\0yyyyyyyy", 10));
    Run({before, QStringLiteral("/proc/self/mem"),
         dir.write("after.txt", QByteArray("x\0yyyyyyyy", 10))});
    EXPECT_EQ(Listed(), (QStringList{"before.txt=File-size 10 but text-length 3",
                                     QDir(dir.path()).relativeFilePath("/proc/self/mem") +
                                         "=Input/output error",
                                     "after.txt=File-size 10 but text-length 3"}));
    EXPECT_TRUE(detector.weird_files.Objects(1)->unreadable);
    EXPECT_EQ(detector.LastRun().unreadable, 1);
    EXPECT_EQ(percents, (std::vector<int>{0, 33, 67, 100}));
}

// The reference is counted fast first; with enough distinct digraphs it is
// counted again in order, so a lopsided reference still raises the tree error.
TEST_F(DetectorFixture, LopsidedReferenceRaisesTheTreeError) {
    QString text;
    for (int round = 0; round < 10; ++round)
        for (int i = 2047; i >= 0; --i)
            text += QChar(char16_t(0x4E00 + i)) + QStringLiteral("A ");
    const QString good = dir.write("good.txt", GoodText(20));
    const QString bad = dir.write("lopsided.txt", Utf16LeWithMark(text));
    try {
        UseReference({good, bad});
        FAIL() << "no error";
    } catch (const suite::TRunError &e) {
        EXPECT_EQ(e.path(), good + QStringLiteral(", ") + bad);
        EXPECT_EQ(e.cause(), QStringLiteral("lopsided data: stack overflow in Tree"));
    }
    EXPECT_FALSE(detector.reference_setup);
}
