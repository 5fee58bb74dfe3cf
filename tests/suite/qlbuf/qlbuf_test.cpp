// SPDX-License-Identifier: GPL-3.0-or-later
#include "IsolatedEnv.h"
#include "LimitedDisk.h"
#include "PrivateFolder.h"
#include "SessionStore.h"
#include "qlbuf.h"

#include <QFileInfo>
#include <QSettings>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs `work` in a child process (a second program of the same user) and
// waits for it to end.
template <typename Work> void InChildProcess(Work work) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

} // namespace

TEST(Qlbuf, NothingStoredGivesDefaults) {
    IsolatedEnv env;
    SetupQlbufSharing();
    EXPECT_EQ(GetShellWnd(), 0u);
    EXPECT_FALSE(GetQShellInitialised());
    EXPECT_FALSE(GetLogging());
    EXPECT_EQ(GetQLHelpAccessMode(), 0);
    EXPECT_EQ(GetTMSOfficeStyleNum(), 15);
    EXPECT_EQ(GetLemmaMatchStopFilename(18, 0), QString());
    EXPECT_EQ(GetUserReadWriteFolder(), env.path() + "/xdg_data_home/Quillon/");
    EXPECT_TRUE(QFileInfo(GetUserReadWriteFolder()).isDir());
    // A relative XDG_DATA_HOME is not used, here as in the rest of the suite.
    qputenv("XDG_DATA_HOME", "relative/path");
    EXPECT_EQ(GetUserReadWriteFolder(), env.path() + "/home/.local/share/Quillon/");
    qputenv("XDG_DATA_HOME", QFile::encodeName(env.path() + "/xdg_data_home"));
    TTextSettings text;
    text.bytes.fill(0xAA);
    GetTextSettings(text);
    EXPECT_EQ(text.ListLoaderValue(), 0);
    EXPECT_FALSE(text.ScreenTypeface().name.isEmpty());
    EXPECT_EQ(GetDefaultColoursAndTypefaces().TextColour(), 0u);
}

TEST(Qlbuf, ChoicesMadeByOneProcessAreSeenByAnother) {
    IsolatedEnv env;
    InChildProcess([] {
        SetLogging(true);
        SetLogFilenameSetting("/somewhere/log.txt");
        SetTMSOfficeStyleNum(7);
        SetQLHelpAccessMode(1);
        SetLemmaMatchStopFilename(18, 2, "/lists/stop.txt");
        SetMenuItemChecked(12, true);
        SetMenuShortcut(199, 0, 0x4041);
    });
    EXPECT_TRUE(GetLogging());
    EXPECT_EQ(GetLogFilename(), "/somewhere/log.txt");
    EXPECT_EQ(GetTMSOfficeStyleNum(), 7);
    EXPECT_EQ(GetQLHelpAccessMode(), 1);
    EXPECT_EQ(GetLemmaMatchStopFilename(18, 2), "/lists/stop.txt");
    EXPECT_EQ(GetLemmaMatchStopFilename(18, 1), QString());
    EXPECT_TRUE(GetMenuItemChecked(12));
    EXPECT_FALSE(GetMenuItemChecked(13));
    uint16_t shortcuts[kMenuTags];
    GetMenuCurrentShortcuts(shortcuts);
    EXPECT_EQ(shortcuts[199], 0x4041);
    EXPECT_EQ(shortcuts[0], 0);

    // Changed back here, seen there.
    SetTMSOfficeStyleNum(3);
    InChildProcess([] { ::_exit(GetTMSOfficeStyleNum() == 3 ? 0 : 1); });
}

TEST(Qlbuf, TagsOutsideTheRangeAreNeitherStoredNorSet) {
    IsolatedEnv env;
    for (int tag : {-1, 200, 100000}) {
        SetMenuItemChecked(tag, true);
        SetMenuShortcut(tag, 0, 5);
        SetPopupMenuTagInUse(tag, true);
        EXPECT_FALSE(GetMenuItemChecked(tag)) << tag;
        EXPECT_EQ(GetMenuShortcut(tag, 0), 0) << tag;
        EXPECT_FALSE(GetPopupMenuTagInUse(tag)) << tag;
    }
    EXPECT_EQ(GetLemmaMatchStopFilename(18, 4), QString());
}

TEST(Qlbuf, RecordsKeepEveryByteAndTheirFieldsSitAtTheirOffsets) {
    IsolatedEnv env;
    TColoursAndTypefaces colours;
    for (int i = 0; i < TColoursAndTypefaces::kSize; ++i)
        colours.bytes[i] = uint8_t(i);
    colours.SetTextColour(0x00FDEADA);
    SetDefaultColoursAndTypefaces(colours);
    const TColoursAndTypefaces back = GetDefaultColoursAndTypefaces();
    EXPECT_EQ(back.bytes, colours.bytes);
    EXPECT_EQ(back.bytes[120], 0xDA);
    EXPECT_EQ(back.bytes[122], 0xFD);
    EXPECT_EQ(back.TextColour(), 0x00FDEADAu);

    TTextSettings text;
    text.SetListLoaderValue(-2);
    // A name longer than the field keeps its first 100 units and the NUL.
    text.SetScreenTypeface({3, 12, QString(150, QChar(u'x'))});
    SetTextSettings(text);
    TTextSettings read;
    GetTextSettings(read);
    EXPECT_EQ(read.bytes, text.bytes);
    EXPECT_EQ(read.bytes[4], 0xFE);
    EXPECT_EQ(read.bytes[330], 3);
    EXPECT_EQ(read.bytes[331], 12);
    EXPECT_EQ(read.bytes[332], 'x');
    EXPECT_EQ(read.bytes[332 + 200], 0);
    EXPECT_EQ(read.ScreenTypeface().name, QString(100, QChar(u'x')));
}

TEST(Qlbuf, SetAllDefaultsResetsChoicesButKeepsTheWindows) {
    IsolatedEnv env;
    SetShellWnd(77);
    SetActiveMainToolWindow(18, 88);
    SetLogging(true);
    SetPopupMenuTagInUse(5, true);
    SetAllDefaults();
    EXPECT_FALSE(GetLogging());
    EXPECT_FALSE(GetPopupMenuTagInUse(5));
    EXPECT_EQ(GetShellWnd(), 77u);
    EXPECT_EQ(GetActiveMainToolWindow(18), 88u);
}

TEST(Qlbuf, ControllerRegistrationAndItsInitialisedFlag) {
    IsolatedEnv env;
    SetShellWnd(1234);
    EXPECT_EQ(GetShellWnd(), 1234u);
    EXPECT_FALSE(GetQShellInitialised());
    SetQShellInitialised(true);
    EXPECT_TRUE(GetQShellInitialised());
    SetShellWnd(0);
    EXPECT_EQ(GetShellWnd(), 0u);
    EXPECT_FALSE(GetQShellInitialised());
}

TEST(Qlbuf, WindowsOfAProcessThatHasEndedReadAsAbsent) {
    IsolatedEnv env;
    InChildProcess([] {
        SetShellWnd(99);
        SetQShellInitialised(true);
        SetActiveMainToolWindow(18, 55);
    });
    EXPECT_EQ(GetShellWnd(), 0u);
    EXPECT_FALSE(GetQShellInitialised());
    EXPECT_EQ(GetActiveMainToolWindow(18), 0u);
}

TEST(Qlbuf, ToolWindowsRegisterAndWithdraw) {
    IsolatedEnv env;
    SetNewWnd(18, 500);
    SetActiveMainToolWindow(18, 500);
    EXPECT_EQ(GetActiveMainToolWindow(18), 500u);
    EXPECT_EQ(GetActiveMainToolWindow(4), 0u);
    UnSetWnd(18, 499); // someone else's: no effect
    EXPECT_EQ(GetActiveMainToolWindow(18), 500u);
    UnSetWnd(18, 500);
    EXPECT_EQ(GetActiveMainToolWindow(18), 0u);
}

TEST(Qlbuf, ProgressRecordIsStoredWholePerProcess) {
    IsolatedEnv env;
    char record[kProgressParamsSize];
    for (int i = 0; i < kProgressParamsSize; ++i)
        record[i] = char(i * 7);
    SetProgressParams(record);
    char back[kProgressParamsSize] = {};
    ASSERT_TRUE(GetProgressParams(::getpid(), back));
    EXPECT_EQ(QByteArray(back, kProgressParamsSize), QByteArray(record, kProgressParamsSize));
    EXPECT_FALSE(GetProgressParams(::getpid() + 1, back));
}

TEST(Qlbuf, SessionStateIsPrivateToTheUser) {
    IsolatedEnv env;
    SetShellWnd(1);
    const QString folder = platform::PrivateRuntimeFolder();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_EQ(QFileInfo(folder).permissions() & 0x0777,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
    EXPECT_EQ(QFileInfo(folder + "/session").permissions() & 0x0777,
              QFile::ReadUser | QFile::WriteUser | QFile::ExeUser);
}

// A session file that cannot be replaced keeps its old content, and the
// caller learns the cause in the system's words.
TEST(Qlbuf, AFailedSessionWriteKeepsTheOldFileAndNamesTheCause) {
    for (const TDiskLimitCase &c : kDiskLimitCases) {
        IsolatedEnv env;
        const QString folder = qlbuf::SessionFolder();
        ASSERT_FALSE(folder.isEmpty());
        const auto outcome = RunWithDiskLimit(
            c.limit, folder, [] { qlbuf::WriteSessionFile("t", "old"); },
            [] {
                QString cause;
                const bool written = qlbuf::WriteSessionFile("t", "new and longer", &cause);
                return (written ? QStringLiteral("written") : cause) + QLatin1Char('|') +
                       QString::fromLatin1(qlbuf::ReadSessionFile("t"));
            });
        if (!outcome) {
            EXPECT_EQ(c.limit, TDiskLimit::FullFolder);
            std::printf("note: no private tmpfs here; the full-disk case is not run\n");
            continue;
        }
        EXPECT_EQ(outcome->toStdString(), std::string(c.cause) + "|old");
    }
}
