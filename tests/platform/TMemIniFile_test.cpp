// SPDX-License-Identifier: GPL-3.0-or-later
// The memory ini file: how lines are read and how entries are written.

#include "LimitedDisk.h"
#include "TMemIniFile.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <random>

namespace {

TEST(TMemIniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
    TMemIniFile ini(QStringLiteral("/nonexistent/x.ini"));
    ini.SetText("junk before\r\n  [Sec]  \r\n ; note\r\n Key = Value \r\n[v0]=C:\\a]\r\nbare\r\n"
                "[sec]\r\nmore=1\r\n");
    EXPECT_EQ(ini.ReadString("SEC", "key", "?"), "Value");
    // An entry that begins with "[" and ends with "]" is still an entry.
    EXPECT_EQ(ini.ReadSectionValues("Sec"),
              (QStringList{"Key=Value", "[v0]=C:\\a]", "bare", "more=1"}));
    EXPECT_EQ(ini.ReadInteger("sec", "MORE", 7), 1);
    EXPECT_EQ(ini.ReadInteger("sec", "key", 7), 7);
}

TEST(TMemIniFile, WritesReplaceInPlaceAndNewSectionsGoLast) {
    TMemIniFile ini(QStringLiteral("/nonexistent/x.ini"));
    ini.SetText("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    ini.WriteString("a", "X", "9");
    ini.WriteString("C", "k", "line\r\nbreak");
    ini.EraseSection("b");
    // A line break is kept, escaped, rather than ending the entry's line.
    EXPECT_EQ(ini.SectionLines(),
              (QStringList{"[A]", "x=9", "y=2", "", "[C]", "k=\"line\\u000D\\u000Abreak\"", ""}));
    EXPECT_EQ(ini.ReadString("c", "k", "?"), "line\r\nbreak");
}

TEST(TMemIniFile, WritesUtf16WithMarkAndReadsItBack) {
    TempDir dir;
    const QString path = dir.file("t.ini");
    {
        TMemIniFile ini(path);
        ini.WriteString("Ä", "k", "ö\U0001F600");
        ini.UpdateFile();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    EXPECT_TRUE(b.startsWith("\xFF\xFE[\0\xC4\0]\0\r\0\n\0"));
    EXPECT_TRUE(b.endsWith(QByteArray("\r\0\n\0\r\0\n\0", 8)));
    TMemIniFile back(path);
    EXPECT_EQ(back.ReadString("ä", "K", "?"), "ö\U0001F600");
}

TEST(TMemIniFile, UnreadableFilesRaiseOrAreKeptAsideAsAsked) {
    TempDir dir;
    const QByteArray bytes("\xFF\xFE[\0a", 5);
    const QString odd = dir.write("odd.ini", bytes);
    EXPECT_THROW(TMemIniFile{odd}, TIniFileError);
    EXPECT_TRUE(QFile::exists(odd));
    // Kept aside twice: the second never replaces the first.
    for (int round = 1; round <= 2; ++round) {
        dir.write("odd.ini", bytes);
        TMemIniFile empty(odd, TMemIniFile::TOnBadFile::KeepAside);
        EXPECT_TRUE(empty.SectionLines().isEmpty());
        EXPECT_EQ(empty.UnreadableCause(), "odd length, not UTF-16 text");
        EXPECT_FALSE(QFile::exists(odd));
        EXPECT_TRUE(empty.KeptAsideAs().startsWith(odd + ".unreadable-"));
        EXPECT_EQ(QDir(dir.path()).entryList({"odd.ini.unreadable-*"}).size(), round);
    }
    // A folder where the file should be cannot be read, and is not moved.
    EXPECT_THROW(TMemIniFile{dir.path()}, TIniFileError);
    EXPECT_THROW(TMemIniFile(dir.path(), TMemIniFile::TOnBadFile::KeepAside), TIniFileError);
}

// What files written before values were quoted hold keeps its meaning; only
// the writer's own quoted form is unquoted.
TEST(TMemIniFile, StoredTextsReadAsTheValuesTheyWereWrittenFor) {
    const struct {
        const char *stored;
        const char *value;
    } cases[] = {
        {R"(C:\a\b)", R"(C:\a\b)"},
        {R"("quoted")", R"("quoted")"},
        {R"("C:\a ")", R"("C:\a ")"},   // a lone backslash: not the writer's form
        {R"("\u0041")", R"("\u0041")"}, // a unit the file holds is never escaped
        {R"("")", R"("")"},
        {R"("/data/sp ")", "/data/sp "},
        {R"(" \\srv\\x ")", R"( \srv\x )"},
        {R"(""quoted"")", R"("quoted")"},
    };
    for (const auto &c : cases) {
        TMemIniFile ini(QStringLiteral("/nonexistent/x.ini"));
        ini.SetText(QStringLiteral("[s]\r\nk=") + QString::fromUtf8(c.stored) + "\r\n");
        EXPECT_EQ(ini.ReadString("s", "k", "?").toStdString(), c.value) << c.stored;
        // Written back and read again, it is still the same value.
        TMemIniFile again(QStringLiteral("/nonexistent/y.ini"));
        again.SetText(ini.SectionLines().join("\r\n"));
        EXPECT_EQ(again.ReadString("s", "k", "?").toStdString(), c.value) << c.stored;
    }
}

// Any value at all, blanks, quotes, backslashes, line breaks, NULs and
// unpaired surrogates included, reads back from the file exactly as written,
// and the file stays one the reader accepts.
TEST(TMemIniFile, RandomValuesReadBackExactlyFromTheFile) {
    const char16_t alphabet[] = {u' ',   u'\t',  u'"', u'\\', u'u',  u'0', u'D',
                                 u'=',   u'[',   u']', u'\r', u'\n', 0,    0xD800,
                                 0xDC80, 0xDFFF, u'a', u';',  0x00E9};
    TempDir dir;
    const QString path = dir.file("r.ini");
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        std::vector<QString> values;
        TMemIniFile ini(path);
        for (int k = 0; k < 8; ++k) {
            QString v;
            const int length = int(random() % 7);
            for (int i = 0; i < length; ++i)
                v += QChar(alphabet[random() % std::size(alphabet)]);
            values.push_back(v);
            ini.WriteString("s", QStringLiteral("[v%1]").arg(k), v);
        }
        ini.UpdateFile();
        TMemIniFile back(path);
        for (int k = 0; k < 8; ++k)
            ASSERT_EQ(back.ReadString("s", QStringLiteral("[v%1]").arg(k), "?"), values[size_t(k)])
                << "round " << round << " value " << k;
    }
}

// A disk that fills up while the file is saved leaves the old file whole,
// and the error names the cause in the system's words.
TEST(TMemIniFile, AFailedSaveKeepsTheOldFileAndNamesTheCause) {
    for (const TDiskLimitCase &c : kDiskLimitCases) {
        TempDir dir;
        const QString path = dir.file("t.ini");
        const auto outcome = RunWithDiskLimit(
            c.limit, dir.path(),
            [&] {
                TMemIniFile ini(path);
                ini.WriteString("Folder", "text", "/data/old");
                ini.UpdateFile();
            },
            [&] {
                TMemIniFile ini(path);
                ini.WriteString("Folder", "text", "/data/new and longer than before");
                try {
                    ini.UpdateFile();
                    return QStringLiteral("saved");
                } catch (const TIniFileError &e) {
                    return e.cause() + QLatin1Char('|') +
                           TMemIniFile(path).ReadString("Folder", "text", "?");
                }
            });
        if (!outcome) {
            EXPECT_EQ(c.limit, TDiskLimit::FullFolder);
            std::printf("note: no private tmpfs here; the full-disk case is not run\n");
            continue;
        }
        EXPECT_EQ(outcome->toStdString(), std::string(c.cause) + "|/data/old");
    }
}

// The writer stops where the reader does: a file of exactly the largest
// size reads back; one unit more is refused and the old file stays. As
// UTF-16 a file read as UTF-8 takes up to twice its size, so a value that
// loaded may not fit.
TEST(TMemIniFile, NeverWritesAFileLargerThanItReads) {
    TempDir dir;
    const QString path = dir.file("t.ini");
    // FF FE, "[s]", "k=" + value, "" with CR LF each, two bytes a unit.
    const qsizetype fits = (TMemIniFile::kMaxFileSize - 24) / 2;
    const QString value(fits, QLatin1Char('v'));
    {
        TMemIniFile ini(path);
        ini.WriteString("s", "k", value);
        ini.UpdateFile();
    }
    EXPECT_EQ(QFileInfo(path).size(), TMemIniFile::kMaxFileSize);
    EXPECT_EQ(TMemIniFile(path).ReadString("s", "k", "?"), value);

    const QByteArray utf8 = "\xEF\xBB\xBF[s]\r\nk=" + QByteArray(fits + 1, 'u') + "\r\n";
    ASSERT_TRUE(dir.write("t.ini", utf8).size() > 0);
    TMemIniFile ini(path);
    EXPECT_EQ(ini.ReadString("s", "k", "?").size(), fits + 1) << "a UTF-8 file this size loads";
    try {
        ini.UpdateFile();
        ADD_FAILURE() << "a file the reader refuses was written";
    } catch (const TIniFileError &e) {
        EXPECT_EQ(e.path(), path);
        EXPECT_TRUE(e.cause().contains(QStringLiteral("more than the 16777216 bytes")))
            << e.cause().toStdString();
    }
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), utf8) << "the old file is left as it was";
}

// Look-ups go through an index: a section of 200 000 entries reads each of
// them in well under the time a scan of the section per look-up would take
// (hours); duplicate keys keep the first, in any case.
TEST(TMemIniFile, ManyEntriesAreFoundByKeyWithoutRegardToCase) {
    TMemIniFile ini(QStringLiteral("/nonexistent/x.ini"));
    QString text = QStringLiteral("[Big]\r\n");
    const int n = 200000;
    for (int i = 0; i < n; ++i)
        text += QStringLiteral("Key%1=%1\r\n").arg(i);
    text += QStringLiteral("KEY7=second\r\n\u00C4rger=1\r\n");
    ini.SetText(text);
    long long sum = 0;
    for (int i = 0; i < n; ++i)
        sum += ini.ReadInteger("big", QStringLiteral("kEy%1").arg(i), -1);
    EXPECT_EQ(sum, (long long)n * (n - 1) / 2);
    EXPECT_EQ(ini.ReadString("BIG", "key7", "?"), "7");
    EXPECT_EQ(ini.ReadString("big", "\u00E4RGER", "?"), "1");
    ini.WriteString("big", "KEY8", "eight");
    EXPECT_EQ(ini.ReadString("big", "key8", "?"), "eight");
    EXPECT_EQ(ini.ReadSectionKeys("big").size(), n + 2) << "replaced in place";
}

} // namespace
