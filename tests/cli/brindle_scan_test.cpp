// SPDX-License-Identifier: GPL-3.0-or-later
// The real brindle-scan, run as a process on folders built here.
#include "Dialogs.h"
#include "Fixtures.h"
#include "ScanProcess.h"
#include "TempDir.h"
#include "file_crap_detector.h"

#include "TFileAndDirIterator.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

using Result = ScanResult;
using RawResult = RawScanResult;

// A folder with files of every kind the checks tell apart.
struct Corpus {
    TempDir dir;
    QString ref;
    Corpus() {
        ref = dir.write("refs/ref.txt", GoodText(60));
        for (int i = 0; i < 12; ++i) {
            const QString n =
                QStringLiteral("data/%1/f%2.txt").arg(i % 3).arg(i, 2, 10, QLatin1Char('0'));
            QByteArray b = GoodText(3 + i);
            if (i % 4 == 1)
                b[20] = 0; // cut short: size test
            if (i % 4 == 2)
                for (int k = 0; k < 30; ++k)
                    b += "zyzzyva quixotic jazz buzz fizz\r\n"; // strays: digraph check
            dir.write(n, i % 5 == 3 ? Utf16LeWithMark(QString::fromLatin1(b)) : b);
        }
        dir.write("data/accents.txt",
                  QByteArray("\xEF\xBB\xBF") + QStringLiteral("Grüße aus Köln\r\n").toUtf8());
        dir.write("data/empty.txt", "");
        dir.write("data/.hidden.txt", QByteArray("x\0yyyyyyyyy", 11));
    }
    QString data() const { return dir.file("data"); }
};

// The detector's own list for the same files, as "path\treason" lines.
QString DetectorLines(const QString &folder, const QString &ref, bool digraph, bool subfolders) {
    suite::TRecordingDialogService quiet;
    auto *old = suite::SetDialogService(&quiet);
    suite::TFileAndDirIterator walk;
    walk.HeadDir = folder;
    walk.IncludeSubFolders = subfolders;
    walk.IterateFindingFiles();
    TFileCrapDetector d;
    d.SetReferenceFiles(ref + QStringLiteral("\r\n"));
    d.digraph_percent_fail_allowed = 10;
    d.CheckForCrap(walk.FoundFiles(), digraph, {}, {});
    suite::SetDialogService(old);
    QString out;
    for (int i = 0; i < d.weird_files.Count(); ++i)
        out += d.weird_files.Strings(i) + QLatin1Char('\t') + d.weird_files.Objects(i)->data() +
               QLatin1Char('\n');
    return out;
}

} // namespace

TEST(BrindleScan, SameVerdictsAsTheDetectorWhateverTheJobs) {
    Corpus c;
    for (const bool digraph : {false, true}) {
        const QString expected = DetectorLines(c.data(), c.ref, digraph, true);
        ASSERT_FALSE(expected.isEmpty());
        for (const char *jobs : {"1", "4"}) {
            QStringList args{"-s", "-r", c.ref, "-j", jobs, c.data()};
            if (digraph)
                args.prepend("-d");
            const Result r = Scan(args);
            EXPECT_EQ(r.exit, 1) << r.err.toStdString();
            EXPECT_EQ(r.out, expected) << "digraph " << digraph << " jobs " << jobs;
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        }
    }
    // Without -s only the folder itself.
    EXPECT_EQ(Scan({"-r", c.ref, c.data()}).out, DetectorLines(c.data(), c.ref, false, false));
}

TEST(BrindleScan, ExitStatusAndErrors) {
    Corpus c;
    const QString clean = c.dir.write("clean/a.txt", GoodText(5));
    struct Case {
        QStringList args;
        int exit;
        QString errStart; // empty: nothing on standard error
    } cases[] = {
        {{c.dir.file("clean")}, 0, {}},
        {{"-s", c.data()}, 1, {}},
        {{c.dir.file("nowhere")},
         2,
         "brindle-scan: " + c.dir.file("nowhere") + ": No such file or directory"},
        {{"-d", c.dir.file("clean")}, 2, "brindle-scan: --digraph needs"},
        {{"-r", c.dir.file("gone.txt"), c.dir.file("clean")},
         2,
         "brindle-scan: " + c.dir.file("gone.txt") + ": No such file or directory"},
        {{"-r", c.dir.write("digits.txt", "123 456\r\n"), c.dir.file("clean")},
         2,
         "brindle-scan: " + c.dir.file("digits.txt") + ": no letter pairs"},
        // A reference that fails the size test is no known-good text.
        {{"-r", c.dir.write("binary.txt", QByteArray("Good words\0\0\0\0\0\0 then junk", 26)),
          c.dir.file("clean")},
         2,
         "brindle-scan: " + c.dir.file("binary.txt") +
             ": not a usable text: it fails the size test (File-size 26 but text-length 12)"},
        {{"--bogus", c.data()}, 2, "brindle-scan: unknown option"},
    };
    for (const Case &k : cases) {
        const Result r = Scan(k.args);
        EXPECT_EQ(r.exit, k.exit) << k.args.join(' ').toStdString() << "\n" << r.err.toStdString();
        if (k.errStart.isEmpty())
            EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
        else
            EXPECT_TRUE(r.err.startsWith(k.errStart)) << r.err.toStdString();
    }
}

TEST(BrindleScan, FilesFromKeepsOrderAndPathsAndSurvivesBadFiles) {
    Corpus c;
    const QString cut = c.dir.write("cut.txt", QByteArray("ab\0cdefghijkl", 13));
    const QString fifo = c.dir.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // /proc/self/mem is a regular file whose first page cannot be read: a read
    // error, reported, and the files after it still checked.
    const QByteArray list = (cut + "\n" + fifo + "\r\n\n" + c.dir.file("missing.txt") +
                             "\n/proc/self/mem\n" + cut + "\n")
                                .toUtf8();
    const Result r = Scan({"--files-from", "-"}, list);
    EXPECT_EQ(r.exit, 2);
    EXPECT_EQ(r.out, cut + "\tFile-size 13 but text-length 4\n" + cut +
                         "\tFile-size 13 but text-length 4\n");
    // Paths named in the list that cannot be checked are named with the
    // reason; each makes the status 2 on its own.
    EXPECT_EQ(r.err, "brindle-scan: " + fifo +
                         ": not a regular file, so it was not checked\nbrindle-scan: " +
                         c.dir.file("missing.txt") +
                         ": No such file or directory\nbrindle-scan: /proc/self/mem: "
                         "Input/output error\n");
    struct Case {
        QString path;
        int exit;
        QString err;
    } alone[] = {
        {c.dir.file("missing.txt"), 2,
         "brindle-scan: " + c.dir.file("missing.txt") + ": No such file or directory\n"},
        {fifo, 2, "brindle-scan: " + fifo + ": not a regular file, so it was not checked\n"},
        {c.dir.file("data"), 2,
         "brindle-scan: " + c.dir.file("data") + ": not a regular file, so it was not checked\n"},
        {"/dev/null", 2, "brindle-scan: /dev/null: not a regular file, so it was not checked\n"},
    };
    for (const Case &k : alone) {
        const Result one = Scan({"--files-from", "-"}, (k.path + "\n").toUtf8());
        EXPECT_EQ(one.exit, k.exit) << k.path.toStdString();
        EXPECT_EQ(one.err, k.err);
        EXPECT_TRUE(one.out.isEmpty());
    }
}

// A path cannot hold a NUL: a list line with one names no file, even when
// the bytes before the NUL do. It is refused by its number, the other lines
// are still checked or listed, and the status says an error happened.
TEST(BrindleScan, AListLineHoldingANulIsRefusedAndTheRestChecked) {
    TempDir dir;
    const QString cut = dir.write("cut.txt", QByteArray("ab\0cdefghijkl", 13));
    const QString f2 = dir.write("f2", QByteArray("x\0yyyyyyyyyyy", 13));
    const QByteArray list =
        cut.toUtf8() + "\n" + f2.toUtf8() + QByteArray("\0junk.txt\n", 10) + cut.toUtf8() + "\n";
    const QString refused = "brindle-scan: -: line 2 holds a NUL character, which no path can "
                            "hold; the line is left out (list with -0 to separate paths by NULs)\n";
    const struct {
        const char *what;
        QStringList args;
        QString out;
    } cases[] = {
        {"check",
         {"--files-from", "-"},
         cut + "\tFile-size 13 but text-length 4\n" + cut + "\tFile-size 13 but text-length 4\n"},
        {"list", {"--list", "--files-from", "-"}, cut + "\n" + cut + "\n"},
    };
    for (const auto &c : cases) {
        const Result r = Scan(c.args, list);
        EXPECT_EQ(r.exit, 2) << c.what;
        EXPECT_EQ(r.out, c.out) << c.what;
        EXPECT_EQ(r.err, refused) << c.what;
    }
}

TEST(BrindleScan, JsonLinesCarryTheFigures) {
    TempDir dir;
    const QString ref = dir.write("ref.txt", GoodText(60));
    dir.write("d/cut.txt", QByteArray("ab\0cdefghijkl", 13));
    QByteArray stray;
    for (int k = 0; k < 40; ++k)
        stray += "zyzzyva quixotic \"jazz\" buzz fizz\r\n";
    dir.write("d/stray.txt", stray);
    const Result r = Scan({"-d", "-r", ref, "--format", "jsonl", dir.file("d")});
    EXPECT_EQ(r.exit, 1);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "{\"path\":\"" + dir.file("d/cut.txt") +
                            "\",\"reason\":\"File-size 13 but text-length 4\",\"test\":\"size\","
                            "\"file_size\":13,\"text_length\":4}");
    EXPECT_TRUE(lines[1].contains("\"test\":\"digraph\",\"fail_fraction\":"))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains("\"too_many\":\"")) << lines[1].toStdString();
}

TEST(BrindleScan, Utf8WithoutMarkWhenAskedFor) {
    TempDir dir;
    // 2-byte letters: as 8-bit text the file is whole; as UTF-8 it is too.
    dir.write("a/u.txt", QStringLiteral("Grüße aus Köln, ça va?\r\n").toUtf8());
    dir.write("b/cut.txt", QStringLiteral("é\r\n").toUtf8() + QByteArray(8, '\0'));
    EXPECT_EQ(Scan({dir.file("a")}).exit, 0);
    for (const char *encoding : {"utf-8", "auto"}) {
        EXPECT_EQ(Scan({"-e", encoding, dir.file("a")}).exit, 0);
        const Result r = Scan({"-e", encoding, "--format", "jsonl", dir.file("b")});
        EXPECT_TRUE(r.out.contains("\"file_size\":12,\"text_length\":3")) << r.out.toStdString();
    }
}

TEST(BrindleScan, ClosedOutputPipeEndsQuietly) {
    TempDir dir;
    for (int i = 0; i < 3000; ++i)
        dir.write(QStringLiteral("d/%1.txt").arg(i, 5, 10, QLatin1Char('0')), CutText());
    QProcess sh;
    sh.start("sh", {"-c", QStringLiteral("'%1' -j 2 '%2' | head -n 1 >/dev/null; echo done")
                              .arg(QStringLiteral(BRINDLE_SCAN), dir.file("d"))});
    ASSERT_TRUE(sh.waitForFinished(60000));
    EXPECT_EQ(sh.readAllStandardOutput(), QByteArray("done\n"));
    EXPECT_TRUE(sh.readAllStandardError().isEmpty());
}

TEST(BrindleScan, ProgressOnlyWhereAskedFor) {
    Corpus c;
    EXPECT_FALSE(Scan({"-s", c.data()}).err.contains('\r')); // a pipe: no bar
    const Result r = Scan({"--progress", "-s", c.data()});
    EXPECT_TRUE(r.err.contains('\r'));
    EXPECT_FALSE(r.out.contains('\r'));
    // The bar ends with what the run did.
    const QRegularExpression summary(
        QStringLiteral("brindle-scan: 14 files checked, 3 suspect, 0 errors, [0-9]+\\.[0-9] s\n$"));
    EXPECT_TRUE(summary.match(r.err).hasMatch()) << r.err.toStdString();
}

// What the user named or meant, and did not get checked, is never silent:
// files named as arguments are checked, a dangling link is an error like a
// missing file, and a run that found nothing to check says so.
TEST(BrindleScan, WhatWasNotCheckedIsSaid) {
    TempDir dir;
    const QString cut = dir.write("top/cut.txt", CutText());
    dir.write("top/sub/deep.txt", CutText());
    dir.write("empty/.hidden.txt", CutText());
    dir.write("nested/sub/deep.txt", CutText());
    const QString link = dir.file("links/to-nothing.txt");
    ASSERT_TRUE(QDir().mkpath(dir.file("links")));
    ASSERT_EQ(::symlink("nowhere.txt", QFile::encodeName(link).constData()), 0);
    const QString list = dir.write("list.txt", QFile::encodeName(cut) + "\n");
    const QString emptyList = dir.write("empty.list", "");
    const QString cutLine = cut + "\tFile-size 35 but text-length 12\n";
    struct Case {
        QStringList args;
        int exit;
        QString out;
        QString err;
    } cases[] = {
        // A file given as an argument is checked like a list's entry.
        {{cut}, 1, cutLine, {}},
        {{cut, dir.file("top/sub")},
         1,
         cutLine + dir.file("top/sub/deep.txt") + "\tFile-size 35 but text-length 12\n",
         {}},
        {{dir.file("links")},
         2,
         {},
         "brindle-scan: " + link + ": symbolic link to a missing file\n"},
        {{dir.file("empty")},
         0,
         {},
         "brindle-scan: warning: no files were found to check in " + dir.file("empty") + "\n"},
        // Files only in subfolders: the hint names the option.
        {{dir.file("nested")},
         0,
         {},
         "brindle-scan: warning: no files were found to check in " + dir.file("nested") +
             " (it has subfolders: -s checks them too)\n"},
        {{"--files-from", emptyList},
         0,
         {},
         "brindle-scan: warning: no files were found to check in " + emptyList + "\n"},
        // An empty shard of a list that has files is normal.
        {{"--shard", "1/2", "--files-from", list}, 0, {}, {}},
    };
    for (const Case &k : cases) {
        const Result r = Scan(k.args);
        EXPECT_EQ(r.exit, k.exit) << k.args.join(' ').toStdString();
        EXPECT_EQ(r.out, k.out) << k.args.join(' ').toStdString();
        EXPECT_EQ(r.err, k.err) << k.args.join(' ').toStdString();
    }
}

TEST(BrindleScan, AFailedOutputIsAnErrorNamingTheCause) {
    TempDir dir;
    // Enough suspect lines to fill the output buffer several times over, so
    // the write fails in the middle of the run as well as at its end.
    for (int i = 0; i < 1500; ++i)
        dir.write(QStringLiteral("many/a-rather-long-file-name-for-a-long-line-%1.txt").arg(i),
                  CutText());
    dir.write("one/cut.txt", CutText());
    const QStringList runs[] = {{dir.file("many")}, {dir.file("one")}, {"--help"}, {"--version"}};
    for (const QStringList &args : runs) {
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(BRINDLE_SCAN), args);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_EQ(p.readAllStandardError(),
                  QByteArray("brindle-scan: standard output: No space left on device\n"));
    }
}

TEST(BrindleScan, SeveralFoldersInTheOrderGiven) {
    Corpus c;
    const QString a = c.dir.file("data/0"), b = c.dir.file("data/2");
    const QString expected =
        DetectorLines(b, c.ref, false, false) + DetectorLines(a, c.ref, false, false);
    ASSERT_FALSE(expected.isEmpty());
    const Result r = Scan({"-r", c.ref, b, a});
    EXPECT_EQ(r.exit, 1);
    EXPECT_EQ(r.out, expected);
    // A missing folder among them is reported; the others are still checked.
    const Result gap = Scan({b, c.dir.file("nowhere"), a});
    EXPECT_EQ(gap.exit, 2);
    EXPECT_EQ(gap.out, expected);
    EXPECT_EQ(gap.err, "brindle-scan: " + c.dir.file("nowhere") + ": No such file or directory\n");
}

TEST(BrindleScan, ResultLinesNeverLandBehindTheBar) {
    // Standard output and standard error on one channel, as on a terminal.
    TempDir dir;
    for (int i = 0; i < 3000; ++i)
        dir.write(QStringLiteral("d/%1.txt").arg(i, 5, 10, QLatin1Char('0')), CutText());
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral(BRINDLE_SCAN), {"--progress", "-j", "1", dir.file("d")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 1);
    const QList<QByteArray> lines = p.readAll().split('\n');
    int results = 0;
    for (QByteArray line : lines) {
        if (!line.contains('\t'))
            continue;
        ++results;
        // What the terminal shows of the line: after the last wipe.
        const qsizetype wipe = line.lastIndexOf("\r\033[K");
        if (wipe >= 0)
            line = line.mid(wipe + 4);
        EXPECT_TRUE(line.startsWith(QFile::encodeName(dir.file("d/")))) << line.constData();
    }
    EXPECT_EQ(results, 3000);
}

TEST(BrindleScan, ASavedProfileGivesTheVerdictsOfItsReferences) {
    Corpus c;
    const QString ref2 = c.dir.write(
        "refs/more.txt",
        QStringLiteral("Über den Wolken muss die Freiheit wohl grenzenlos sein, sagt man.\r\n")
            .repeated(30)
            .toUtf8());
    const QString profile = c.dir.file("refs.profile");
    for (const char *encoding : {"windows-1252", "utf-8"}) {
        // Saving alone: no FOLDER, no output, status 0.
        const Result saved =
            Scan({"-e", encoding, "-r", c.ref, "-r", ref2, "--save-profile", profile});
        ASSERT_EQ(saved.exit, 0) << saved.err.toStdString();
        EXPECT_TRUE(saved.out.isEmpty() && saved.err.isEmpty());
        for (const char *pct : {"10", "40"}) {
            const QStringList common{"-s", "-d", "-e", encoding, "-p", pct, "-j", "2", c.data()};
            const Result fromTexts = Scan(QStringList{"-r", c.ref, "-r", ref2} + common);
            const Result fromProfile = Scan(QStringList{"--profile", profile} + common);
            EXPECT_EQ(fromTexts.exit, 1) << fromTexts.err.toStdString();
            EXPECT_EQ(fromProfile.exit, fromTexts.exit) << fromProfile.err.toStdString();
            EXPECT_EQ(fromProfile.out, fromTexts.out) << encoding << " " << pct;
            EXPECT_TRUE(fromProfile.out.contains("Too many")) << fromProfile.out.toStdString();
        }
    }
    // Saving and scanning in one run gives the same lines.
    const QString second = c.dir.file("second.profile");
    const Result both = Scan({"-s", "-d", "-r", c.ref, "--save-profile", second, c.data()});
    EXPECT_EQ(both.out, DetectorLines(c.data(), c.ref, true, true));
    EXPECT_EQ(Scan({"-s", "-d", "--profile", second, c.data()}).out, both.out);
}

TEST(BrindleScan, AProfileThatCannotBeUsedIsAnError) {
    Corpus c;
    const QString good = c.dir.file("good.profile");
    ASSERT_EQ(Scan({"-r", c.ref, "--save-profile", good}).exit, 0);
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QByteArray flipped = bytes, newer = bytes;
    flipped[40] = char(flipped[40] ^ 1);
    const QString fifo = c.dir.file("fifo.profile");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    newer[8] = 3;
    struct Case {
        QStringList args; // the profile file
        QString error;    // after "brindle-scan: FILE: "
    } cases[] = {
        {{"--profile", c.dir.write("cut.profile", bytes.left(bytes.size() - 3))},
         "truncated profile: "},
        {{"--profile", c.dir.write("flipped.profile", flipped)},
         "corrupt profile: the checksum does not match"},
        {{"--profile", c.dir.write("newer.profile", newer)},
         "profile format version 3; this brindle-scan reads versions 1 to 2"},
        {{"--profile", c.ref}, "not a brindle-scan profile"},
        {{"--profile", c.dir.file("none.profile")}, "No such file or directory"},
        {{"--profile", good, "-e", "utf-8"}, "the profile was made with --encoding windows-1252"},
        {{"-r", c.ref, "--save-profile", c.dir.file("no/folder/p.profile")},
         "No such file or directory"},
        // Saving never replaces what is not a regular file.
        {{"-r", c.ref, "--save-profile", fifo}, "not a regular file"},
    };
    for (const Case &k : cases) {
        const Result r = Scan(k.args + QStringList{"-d", c.data()});
        const QString file = k.args.at(k.args.indexOf(QRegularExpression("--(save-)?profile")) + 1);
        EXPECT_EQ(r.exit, 2) << k.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_TRUE(r.err.startsWith("brindle-scan: " + file + ": " + k.error))
            << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(c.dir.file("no/folder/p.profile")));
    EXPECT_EQ(QDir(c.dir.path()).entryList({"*.profile.*"}), QStringList()); // no temp left
}

namespace {} // namespace

TEST(BrindleScan, ShardsJoinedInOrderGiveTheWholeRun) {
    Corpus c;
    // Files of very different sizes, so that cutting by bytes matters.
    for (int i = 0; i < 24; ++i) {
        QByteArray b = GoodText(1 + (i * 37) % 300);
        if (i % 5 == 2)
            b[40] = 0;
        c.dir.write(QStringLiteral("data/sizes/s%1.txt").arg(i, 2, 10, QLatin1Char('0')), b);
    }
    const QString list = c.dir.write(
        "list", (c.dir.file("data/0/f00.txt") + "\n" + c.dir.file("data/sizes/s02.txt") + "\n" +
                 c.dir.file("data/gone.txt") + "\n" + c.dir.file("data/sizes/s07.txt") + "\n")
                    .toUtf8());
    struct Run {
        const char *what;
        QStringList args;
    } runs[] = {
        {"walk, digraph check", {"-s", "-d", "-r", c.ref, c.data()}},
        {"JSON lines, two folders", {"--format", "jsonl", c.dir.file("data/sizes"), c.data()}},
        {"a list with a missing file", {"--files-from", list}},
        {"a missing folder between two",
         {c.dir.file("data/sizes"), c.dir.file("nowhere"), c.dir.file("data/1")}},
    };
    for (const Run &run : runs) {
        const RawResult whole = ScanRaw(run.args);
        ASSERT_FALSE(whole.out.isEmpty()) << run.what;
        for (const int n : {2, 5, 40}) {
            RawResult joined{0, {}, {}};
            for (int k = 1; k <= n; ++k) {
                const RawResult part = ScanRaw(
                    run.args + QStringList{"--shard", QStringLiteral("%1/%2").arg(k).arg(n)});
                joined.out += part.out;
                joined.err += part.err;
                joined.exit = std::max(joined.exit, part.exit);
            }
            EXPECT_EQ(joined.out, whole.out) << run.what << ", " << n << " shards";
            EXPECT_EQ(joined.err, whole.err) << run.what << ", " << n << " shards";
            EXPECT_EQ(joined.exit, whole.exit) << run.what << ", " << n << " shards";
        }
    }
}

TEST(BrindleScan, AnyNameSurvivesListsAndOutput) {
    TempDir dir;
    const QByteArray d = QFile::encodeName(dir.file("d"));
    ASSERT_EQ(::mkdir(d.constData(), 0700), 0);
    const QByteArray cut("x\0yyyyyyyyyyyyyyyyyyy", 21);
    struct Name {
        QByteArray name; // in d/
        QByteArray tsv;  // as TSV writes it
    } names[] = {
        {"a plain.txt", "a plain.txt"},
        {"b\\back.txt", "b\\\\back.txt"},
        {"c\tTAB.txt", "c\\tTAB.txt"},
        {"d\nLF.txt", "d\\nLF.txt"},
        {"e caf\xE9.txt", "e caf\\xe9.txt"},
        {"f Gr\xC3\xBC\xC3\x9F"
         "e.txt",
         "f Gr\xC3\xBC\xC3\x9F"
         "e.txt"},
    };
    QByteArray tsv, nulList;
    for (const Name &n : names) {
        WriteFileBytes(d + "/" + n.name, cut);
        tsv += d + "/" + n.tsv + "\tFile-size 21 but text-length 3\n";
        nulList += d + "/" + n.name + '\0';
    }
    const QString folder = dir.file("d");

    // TSV escapes; the list with -0 carries the exact bytes, and checking
    // it gives the walk's output.
    const RawResult walked = ScanRaw({folder});
    EXPECT_EQ(walked.out, tsv);
    const RawResult listed = ScanRaw({"--list", "-0", folder});
    EXPECT_EQ(listed.exit, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.out, nulList);
    EXPECT_EQ(ScanRaw({"-0", "--files-from", "-"}, listed.out).out, tsv);
    QByteArray sharded;
    for (int k = 1; k <= 3; ++k)
        sharded +=
            ScanRaw({"--list", "--null", "--shard", QStringLiteral("%1/3").arg(k), folder}).out;
    EXPECT_EQ(sharded, nulList);

    // One per line cannot hold a line feed: that name is left out, loudly.
    const RawResult lines = ScanRaw({"--list", folder});
    EXPECT_EQ(lines.exit, 2);
    EXPECT_EQ(lines.out,
              QByteArray(nulList).replace(d + "/d\nLF.txt" + '\0', "").replace('\0', '\n'));
    EXPECT_EQ(lines.err,
              "brindle-scan: " + d + "/d\\nLF.txt: the name holds a line feed; list with -0\n");

    // JSON lines: the bytes of a name that is not UTF-8, in base64.
    const RawResult json = ScanRaw({"--format", "jsonl", folder});
    const QByteArray latin1 = d + "/e caf\xE9.txt";
    EXPECT_TRUE(json.out.contains(",\"path_bytes\":\"" + latin1.toBase64() + "\","))
        << json.out.toStdString();
    EXPECT_EQ(json.out.count("path_bytes"), 1);

    // QTemporaryDir cannot remove a name that is not UTF-8.
    for (const Name &n : names)
        ::unlink(d + "/" + n.name);
}
