// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFileAndDirIterator.h"
#include "TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using suite::TFileAndDirIterator;

TEST(FileAndDirIterator, FilesFirstByCodeUnitThenFoldersDepthFirst) {
    TempDir dir;
    for (const char *f : {"b.txt", "B.txt", "a.txt", "\xC3\xA9.txt", ".hidden", "sub/z.txt",
                          "sub/deeper/y.txt", "Sub2/x.txt", ".git/config"})
        dir.write(QString::fromUtf8(f), "x");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.file("pipe")).constData(), 0600), 0);
    ASSERT_EQ(::symlink(QFile::encodeName(dir.file("a.txt")).constData(),
                        QFile::encodeName(dir.file("link-to-a")).constData()),
              0);
    ASSERT_EQ(::symlink(QFile::encodeName(dir.path()).constData(),
                        QFile::encodeName(dir.file("loop")).constData()),
              0);

    TFileAndDirIterator it;
    it.HeadDir = dir.path();
    it.IncludeSubFolders = true;
    it.IterateFindingFiles();
    QStringList rel;
    for (const QString &p : it.FoundFiles())
        rel << QDir(dir.path()).relativeFilePath(p);
    EXPECT_EQ(
        rel, (QStringList{"B.txt", "a.txt", "b.txt", "link-to-a", QString::fromUtf8("\xC3\xA9.txt"),
                          "Sub2/x.txt", "sub/z.txt", "sub/deeper/y.txt"}));

    it.IncludeSubFolders = false;
    it.IterateFindingFiles();
    EXPECT_EQ(it.FoundFiles().size(), 5);

    it.HeadDir = dir.file("missing");
    it.IterateFindingFiles();
    EXPECT_TRUE(it.FoundFiles().isEmpty());
}
