// SPDX-License-Identifier: GPL-3.0-or-later
// The suite steps of the window's life, in-process: activation, the logging
// state, the closing line, the controller's commands and list loading.

#include "AppTestSupport.h"
#include "ControllerMessage.h"
#include "Logging_utilities.h"
#include "My_types.h"
#include "ResourceStrings.h"
#include "SharedVariables.h"
#include "TMSStyles.h"
#include "ToolPagesU.h"
#include "lemmatiser.h"
#include "multi_tool_base.h"
#include "qlbuf.h"
#include "quillon_minimal_progress.h"

#include <QFile>

namespace {

uint32_t Command(uint16_t code) {
    return suite::PackCodeAndTool(code, kControllerTool);
}

QString LongMessage() {
    return QString::fromUtf16(GlobalProgress->fparams.long_message);
}

class SuiteSteps : public IsolatedUser {
protected:
    void SetUp() override {
        IsolatedUser::SetUp();
        CreateGlobalProgress();
        app::CreateGlobalToolWindowList();
        Reset();
    }
    void TearDown() override {
        Reset();
        app::FreeGlobalToolWindowList();
        FreeGlobalProgress();
        IsolatedUser::TearDown();
    }
    void Reset() {
        keeping_log = false;
        SetLogFilename(QString());
        panic_mode = 0;
        app::tool_closing = false;
        CurrentTMSStyle = 14;
    }
    // Logging wanted into an existing, empty log file.
    QString StartLog() {
        const QString log = dir.write(QStringLiteral("log.txt"), QByteArray());
        SetLogging(true);
        SetLogFilenameSetting(log);
        app::RefreshLogging();
        EXPECT_TRUE(keeping_log);
        return log;
    }
    QStringList LogLines(const QString &log) const { return ReadLines(log); }
    // A list file of `n` entries for this tool's list of `kind`.
    void ChooseList(int kind, int n) {
        QByteArray text;
        for (int i = 0; i < n; ++i)
            text += "word" + QByteArray::number(i) + "\n";
        SetLemmaMatchStopFilename(current_tool_var, kind,
                                  dir.write(QStringLiteral("list%1.txt").arg(kind), text));
    }
};

TEST_F(SuiteSteps, ListProgressIsTheShareOfTheAnnouncedLines) {
    app::TToolWindowList &list = *app::GlobalToolWindowList;
    const struct {
        int32_t lines, done, percent;
    } cases[] = {
        {250, 125, 50},
        {0, 1, 100},                  // none announced: divides by 1
        {-4, 3, 300},                 // nor below
        {30'000'000, 25'000'000, 83}, // lines x 100 would overflow 32 bits
    };
    for (const auto &c : cases) {
        list.SetNLines(c.lines, ToHundredWideChar(QStringLiteral("stop list")));
        EXPECT_EQ(LongMessage(), suite::QLLoadingX().arg(QStringLiteral("stop list")));
        EXPECT_EQ(GlobalProgress->fparams.this_percent, 0) << "bars cleared";
        list.ShowDLLProgress(c.done);
        EXPECT_EQ(list.DLLN_Lines, std::max(c.lines, 1));
        EXPECT_EQ(GlobalProgress->fparams.this_percent, c.percent) << c.lines;
    }
}

TEST_F(SuiteSteps, ListCommandsLoadAndUnloadEachKind) {
    const QString log = StartLog();
    // No list chosen: not loaded, said and logged.
    Global_stopLemmaMatchLoaded[0] = true;
    app::HandleControllerMessage(Command(234), 0);
    EXPECT_FALSE(Global_stopLemmaMatchLoaded[0]);
    EXPECT_EQ(LongMessage(), suite::QLListIsntLoaded());
    EXPECT_EQ(LogLines(log), QStringList{suite::QLListIsntLoaded()});

    for (int kind = 0; kind < 4; ++kind) {
        ChooseList(kind, 250);
        app::HandleControllerMessage(Command(uint16_t(234 + 2 * kind)), 0);
        EXPECT_TRUE(Global_stopLemmaMatchLoaded[size_t(kind)]) << kind;
        EXPECT_EQ(LoadedEntries(current_tool_var, kind).size(), 250) << kind;
        EXPECT_EQ(LongMessage(), suite::QLListIsLoaded());
        EXPECT_EQ(app::GlobalToolWindowList->DLLN_Lines, 250);

        app::HandleControllerMessage(Command(uint16_t(235 + 2 * kind)), 0);
        EXPECT_TRUE(LoadedEntries(current_tool_var, kind).isEmpty()) << kind;
        EXPECT_TRUE(Global_stopLemmaMatchLoaded[size_t(kind)]) << "unloading keeps the flag";
    }
}

TEST_F(SuiteSteps, AStopCommandCancelsEveryLaterLoad) {
    ChooseList(0, 250);
    app::HandleControllerMessage(Command(6121), 0);
    EXPECT_EQ(panic_mode, 2);
    app::HandleControllerMessage(Command(234), 0);
    EXPECT_FALSE(Global_stopLemmaMatchLoaded[0]);
    EXPECT_TRUE(LoadedEntries(current_tool_var, 0).isEmpty());
    EXPECT_EQ(LongMessage(), suite::QLListIsntLoaded());
    // Cancelled at the first report, which is therefore not shown.
    EXPECT_EQ(GlobalProgress->fparams.this_percent, 0);
}

TEST_F(SuiteSteps, StopCommandsSetThePanicModeAndLogWithTheTime) {
    const QString log = StartLog();
    const struct {
        uint16_t code;
        uint8_t mode;
        QString text;
    } cases[] = {{6120, 1, suite::QLStoppingAtEOF()}, {6121, 2, suite::QLStoppingASAP()}};
    for (const auto &c : cases) {
        QFile::resize(log, 0);
        app::HandleControllerMessage(Command(c.code), 0);
        EXPECT_EQ(panic_mode, c.mode);
        const QStringList lines = LogLines(log);
        ASSERT_EQ(lines.size(), 1) << c.code;
        EXPECT_TRUE(lines[0].startsWith(c.text));
        EXPECT_GT(lines[0].size(), c.text.size()) << "the time follows directly";
    }

    // Unknown codes do nothing.
    QFile::resize(log, 0);
    panic_mode = 0;
    for (uint16_t code : {701, 232, 242, 6123})
        app::HandleControllerMessage(Command(code), 0);
    EXPECT_EQ(panic_mode, 0);
    EXPECT_TRUE(LogLines(log).isEmpty());
}

TEST_F(SuiteSteps, LoggingCommandSkipsTheFileTestThatRefreshMakes) {
    const QString missing = dir.file(QStringLiteral("not-yet.log"));
    SetLogging(true);
    SetLogFilenameSetting(missing);
    app::RefreshLogging();
    EXPECT_FALSE(keeping_log) << "the file does not exist";
    EXPECT_EQ(LogFilename(), missing);

    SetLogFilename(QString());
    app::HandleControllerMessage(Command(233), 0);
    EXPECT_TRUE(keeping_log);
    EXPECT_EQ(LogFilename(), missing);

    SetLogging(false);
    app::HandleControllerMessage(Command(233), 0);
    EXPECT_FALSE(keeping_log);
}

TEST_F(SuiteSteps, ActivationTakesTheSuiteStyleUntilTheToolCloses) {
    const QString log = StartLog();
    int completions = 0;
    const auto done = [&](int32_t value) {
        EXPECT_EQ(value, -1);
        ++completions;
    };
    for (auto [suiteNumber, style] : {std::pair{0, 0}, {1, 0}, {15, 14}, {16, 15}, {25, 24}}) {
        SetTMSOfficeStyleNum(suiteNumber);
        app::ActivateMainForm(nullptr, nullptr, done);
        EXPECT_EQ(CurrentTMSStyle, style) << suiteNumber;
    }
    EXPECT_EQ(completions, 5);
    QStringList lines = LogLines(log);
    ASSERT_EQ(lines.size(), 5);
    for (const QString &line : lines)
        EXPECT_TRUE(line.endsWith(QStringLiteral(": activating main form"))) << line.toStdString();

    app::LogToolClosing();
    SetTMSOfficeStyleNum(3);
    app::ActivateMainForm(nullptr, nullptr, done);
    EXPECT_EQ(completions, 5) << "a late activation does nothing";
    EXPECT_EQ(CurrentTMSStyle, 24);
    lines = LogLines(log);
    ASSERT_EQ(lines.size(), 6) << "only the closing line was added";
    EXPECT_EQ(lines.back(), QStringLiteral("********** ") +
                                suite::QLClosingATool().arg(Tool_Name(current_tool_var)));
}

} // namespace
