// The memory ini file: how lines are read and how entries are written.

#include "TMemIniFile.h"
#include "LimitedDisk.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

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
    EXPECT_EQ(ini.SectionLines(),
              (QStringList{"[A]", "x=9", "y=2", "", "[C]", "k=line  break", ""}));
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

TEST(TMemIniFile, UnreadableFilesRaiseOrStartEmptyAsAsked) {
    TempDir dir;
    const QString odd = dir.write("odd.ini", QByteArray("\xFF\xFE[\0a", 5));
    EXPECT_THROW(TMemIniFile{odd}, TIniFileError);
    TMemIniFile empty(odd, TMemIniFile::TOnBadFile::StartEmpty);
    EXPECT_TRUE(empty.SectionLines().isEmpty());
    // A folder where the file should be cannot be read either.
    EXPECT_THROW(TMemIniFile{dir.path()}, TIniFileError);
}

// A disk that fills up while the file is saved leaves the old file whole,
// and the error names the cause in the system's words.
TEST(TMemIniFile, AFailedSaveKeepsTheOldFileAndNamesTheCause) {
    const struct {
        TDiskLimit limit;
        const char *cause;
    } cases[] = {{TDiskLimit::FullFolder, "No space left on device"},
                 {TDiskLimit::FileSizeLimit, "File too large"}};
    for (const auto &c : cases) {
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

} // namespace
