// SPDX-License-Identifier: GPL-3.0-or-later
#include "IsolatedEnv.h"
#include "Logging_utilities.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray Read(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
} // namespace

TEST(Logging, TextsWithoutLineEndContinueTheLine) {
    IsolatedEnv env;
    const QString log = env.dir().write("log/log.txt", "earlier line\n");
    SetLogFilename(log);
    AddToLogFile("quit multi_tool_base, ", false);
    AddToLogFile("quit font_stuff, ", false);
    AddToLogFile("quitting exception_handling_unit", true);
    AddToLogFile(QString::fromUtf8("\xC3\xA9t\xC3\xA9"), true);
    EXPECT_EQ(Read(log), "earlier line\nquit multi_tool_base, quit font_stuff, quitting "
                         "exception_handling_unit\n\xC3\xA9t\xC3\xA9\n");
    // Nothing is left beside the log.
    EXPECT_EQ(QDir(env.dir().file("log")).entryList(QDir::Files), QStringList{"log.txt"});
    SetLogFilename(QString());
}

TEST(Logging, MissingFileIsCreatedAndEmptyNameWritesNothing) {
    IsolatedEnv env;
    const QString log = env.dir().file("new.txt");
    SetLogFilename(log);
    AddToLogFile("first", true);
    EXPECT_EQ(Read(log), "first\n");
    SetLogFilename(QString());
    AddToLogFile("lost", true);
    EXPECT_EQ(Read(log), "first\n");
}

// A line is appended to the log in place: the file is never replaced (that
// would cost the whole log's size per line), so a hard link sees every line.
TEST(Logging, LinesAreAppendedToTheSameFile) {
    IsolatedEnv env;
    const QString log = env.dir().write("log.txt", QByteArray(1 << 16, 'x') + "\n");
    const QString link = env.dir().file("link.txt");
    ASSERT_EQ(::link(QFile::encodeName(log).constData(), QFile::encodeName(link).constData()), 0);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(log).constData(), &before), 0);
    SetLogFilename(log);
    AddToLogFile("one", true);
    AddToLogFile("two", true);
    SetLogFilename(QString());
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(log).constData(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_TRUE(Read(link).endsWith("x\none\ntwo\n"));
    EXPECT_EQ(Read(link).size(), (1 << 16) + 9);
}
