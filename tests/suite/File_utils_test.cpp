// SPDX-License-Identifier: GPL-3.0-or-later
#include "File_utils.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace suite;

TEST(FileUtils, MissingAndSpecialFiles) {
    TempDir dir;
    const QString fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(DriveAndFileExist(fifo));
    EXPECT_FALSE(DriveAndFileExist(dir.path()));
    EXPECT_FALSE(DriveAndFileExist(QString()));
    EXPECT_TRUE(DriveAndFileExist(dir.write("f", "x")));
    EXPECT_TRUE(DriveAndFolderExist(dir.path()));
    EXPECT_FALSE(DriveAndFolderExist(dir.file("nope")));
}
