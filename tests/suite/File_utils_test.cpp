#include "File_utils.h"
#include "RunError.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace suite;

TEST(FileUtils, SizesAndMarks) {
    TempDir dir;
    struct Case {
        const char *name;
        QByteArray bytes;
        bool unicode;
    } cases[] = {
        {"le", "\xFF\xFE" "a\0", true}, {"be", "\xFE\xFF\0a", true}, {"utf8", "\xEF\xBB\xBF" "a", false},
        {"plain", "ab", false},         {"one", "\xFF", false},       {"empty", "", false},
    };
    for (const Case &c : cases) {
        const QString path = dir.write(QString::fromLatin1(c.name), c.bytes);
        EXPECT_EQ(FileSize(path), c.bytes.size()) << c.name;
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
