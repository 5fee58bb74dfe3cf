#include "File_utils.h"
#include "RunError.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string_view>

#include <sys/stat.h>

using namespace suite;
using namespace std::string_view_literals;

TEST(FileUtils, SizesAndMarks) {
    TempDir dir;
    // string_view literals keep their NULs, so every fixture has all its bytes.
    struct Case {
        const char *name;
        std::string_view bytes;
        bool unicode;
    } cases[] = {
        {"le",
         "\xFF\xFE"
         "a\0"sv,
         true},
        {"be", "\xFE\xFF\0a"sv, true},
        {"utf8",
         "\xEF\xBB\xBF"
         "a"sv,
         false},
        {"plain", "ab"sv, false},
        {"one", "\xFF"sv, false},
        {"nul first", "\0\xFE\xFF"sv, false},
        {"empty", ""sv, false},
    };
    for (const Case &c : cases) {
        const QByteArray bytes(c.bytes.data(), qsizetype(c.bytes.size()));
        const QString path = dir.write(QString::fromLatin1(c.name), bytes);
        EXPECT_EQ(FileSize(path), qint64(c.bytes.size())) << c.name;
        EXPECT_EQ(TextFileInUnicode(path), c.unicode) << c.name;
    }
}

TEST(FileUtils, MissingAndSpecialFiles) {
    TempDir dir;
    const QString fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(RegularFileExists(fifo));
    EXPECT_FALSE(RegularFileExists(dir.path()));
    EXPECT_FALSE(RegularFileExists(QString()));
    EXPECT_TRUE(DriveAndFolderExist(dir.path()));
    EXPECT_FALSE(DriveAndFolderExist(dir.file("nope")));
    try {
        FileSize(dir.file("nope"));
        FAIL();
    } catch (const TRunError &e) {
        EXPECT_EQ(e.path(), dir.file("nope"));
        EXPECT_EQ(e.cause(), QStringLiteral("No such file or directory"));
    }
}
