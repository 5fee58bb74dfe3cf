#include "IsolatedEnv.h"
#include "Logging_utilities.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

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
    // Written whole each time: nothing is left beside the log.
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
