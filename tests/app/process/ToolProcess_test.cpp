// SPDX-License-Identifier: GPL-3.0-or-later
// The real brindle and a real quillon-controller as two processes that
// exchange real messages: start-up, the controller's commands, shut-down
// and the log lines of a close.

#include "ChildProcess.h"
#include "ControllerMessage.h"
#include "IsolatedEnv.h"
#include "ResourceStrings.h"
#include "qlbuf.h"
#include "quillon_minimal_progress.h"

#include "TempDir.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The caps only end a broken test; nothing here measures speed.
constexpr int kCapMs = 15000;
constexpr uint8_t kTool = 18;

// The controller's window, from its first line on standard error.
uint32_t WaitForControllerWindow(ChildProcess &controller) {
    const QByteArray line = controller.WaitForFirstErrorLine();
    return line.mid(line.lastIndexOf(' ') + 1).toUInt();
}

// The tool's registered main window once it is up; 0 if it never comes.
uint32_t WaitForToolWindow() {
    QDeadlineTimer cap(kCapMs);
    uint32_t window = 0;
    while (!cap.hasExpired() && (window = GetActiveMainToolWindow(kTool)) == 0)
        QThread::msleep(20);
    return window;
}

void Post(uint16_t code) {
    QProcess post;
    post.start(QStringLiteral(CONTROLLER_EXE), {"--post", QString::number(code)});
    ASSERT_TRUE(post.waitForFinished(kCapMs));
    ASSERT_EQ(post.exitCode(), 0) << post.readAllStandardError().toStdString();
}

QByteArray Announce(uint32_t window) {
    return "announce tool 18 window " + QByteArray::number(window);
}
QByteArray Code(uint16_t code, uint32_t window) {
    return "code " + QByteArray::number(code) + " tool 18 window " + QByteArray::number(window);
}

QStringList LogLines(const QString &log) {
    return ReadLines(log);
}

// The log lines of a close, without the activation lines written before it.
QStringList WithoutActivations(QStringList lines) {
    lines.removeIf(
        [](const QString &l) { return l.endsWith(QLatin1String(": activating main form")); });
    return lines;
}

QStringList ClosingLines(uint32_t window) {
    return {QStringLiteral("********** ") + suite::QLClosingATool().arg(QStringLiteral("Brindle")),
            QStringLiteral("quit multi_tool_base, quit language_detailsU, quit font_stuff, "
                           "quit chosenfilesBaseU, quit myTagSwapLists, "
                           "quitting exception_handling_unit"),
            QString(50, QLatin1Char('*')),
            QStringLiteral("unsetting brindle main window %1").arg(window),
            QStringLiteral("quit quillon_minimal, "),
            QStringLiteral("quit quillon_minimal_progress, quit TEXTBUF")};
}

class ToolProcess : public testing::Test {
protected:
    IsolatedEnv env;
    // A folder holding a copy of brindle and, next to it, `controller` (a
    // file's content) as its controller executable.
    QString ToolFolderWith(const QByteArray &controller) {
        const QString bin = env.dir().file(QStringLiteral("bin"));
        QDir().mkpath(bin);
        EXPECT_TRUE(QFile::copy(QStringLiteral(BRINDLE_EXE), bin + QStringLiteral("/brindle")));
        QFile script(bin + QStringLiteral("/quillon-controller"));
        EXPECT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(controller);
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return bin;
    }
    // Logging wanted into `log`, which exists when `create` is true.
    QString WantLog(bool create) {
        const QString log = env.dir().file(QStringLiteral("suite.log"));
        if (create)
            env.dir().write(QStringLiteral("suite.log"), QByteArray());
        SetLogging(true);
        SetLogFilenameSetting(log);
        return log;
    }
};

TEST_F(ToolProcess, WithAControllerRunningStartUpAndCloseAreAnnouncedAndNoOtherStarts) {
    const QString marker = env.dir().file(QStringLiteral("second-controller-started"));
    const QString bin = ToolFolderWith("#!/bin/sh\ntouch '" + QFile::encodeName(marker) + "'\n");
    ChildProcess controller(QStringLiteral(CONTROLLER_EXE));
    const uint32_t shell = WaitForControllerWindow(controller);
    ASSERT_NE(shell, 0u);

    ChildProcess tool(bin + QStringLiteral("/brindle"));
    const uint32_t window = WaitForToolWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(controller.WaitForLine(), Announce(window));
    EXPECT_EQ(controller.WaitForLine(), Code(4601, window));
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_EQ(GetShellWnd(), shell);

    Post(1350);
    EXPECT_EQ(tool.WaitForExit(), 0);
    EXPECT_EQ(controller.WaitForLine(), Announce(window));
    EXPECT_EQ(controller.WaitForLine(), Code(4600, window));
    EXPECT_EQ(GetActiveMainToolWindow(kTool), 0u) << "registration withdrawn";
}

TEST_F(ToolProcess, WithoutAControllerTheWindowComesUpAndCloses) {
    // The build's brindle has no controller next to it.
    ChildProcess tool(QStringLiteral(BRINDLE_EXE));
    const uint32_t window = WaitForToolWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(GetShellWnd(), 0u);
    Post(1350);
    EXPECT_EQ(tool.WaitForExit(), 0);
    EXPECT_EQ(tool.Errors(), QByteArray());
}

TEST_F(ToolProcess, AControllerThatCannotStartIsReportedAndTheToolGoesOn) {
    const QString bin = ToolFolderWith(QByteArray("\x7f"
                                                  "ELF but not really",
                                                  19));
    ChildProcess tool(bin + QStringLiteral("/brindle"));
    ASSERT_NE(WaitForToolWindow(), 0u);
    Post(1350);
    EXPECT_EQ(tool.WaitForExit(), 0);
    EXPECT_TRUE(
        tool.Errors().contains("Can't start \n" + QFile::encodeName(bin) + "/quillon-controller"))
        << tool.Errors().toStdString();
}

// The controller a tool starts writes nowhere near the tool's output and
// goes with the tool's last window.
TEST_F(ToolProcess, TheControllerItStartsIsSilentAndEndsWithTheTool) {
    const QString args = env.dir().file(QStringLiteral("controller-args"));
    const QString bin = ToolFolderWith(
        "#!/bin/sh\necho controller-output; echo controller-error >&2\necho \"$@\" > '" +
        QFile::encodeName(args) + "'\nexec '" + QByteArray(CONTROLLER_EXE) + "' \"$@\"\n");
    ChildProcess tool(bin + QStringLiteral("/brindle"));
    ASSERT_NE(WaitForToolWindow(), 0u);
    EXPECT_NE(GetShellWnd(), 0u);
    Post(1350);
    EXPECT_EQ(tool.WaitForExit(), 0);
    EXPECT_EQ(tool.Stop(), QByteArray());
    EXPECT_FALSE(tool.Errors().contains("controller-")) << tool.Errors().toStdString();
    QFile given(args);
    ASSERT_TRUE(given.open(QIODevice::ReadOnly));
    EXPECT_EQ(given.readAll().trimmed(), "--exit-with-tools");
    // The controller withdraws its registration as it ends.
    QDeadlineTimer cap(kCapMs);
    while (GetShellWnd() != 0 && !cap.hasExpired())
        QThread::msleep(20);
    EXPECT_EQ(GetShellWnd(), 0u);
}

// A runtime folder too deep for a socket's name leaves the window without a
// mailbox; the cause is named on standard error and in the log.
TEST_F(ToolProcess, ARuntimeFolderTooLongForASocketIsReported) {
    const QString log = WantLog(true);
    const QString deep = env.dir().file(QString(110, QLatin1Char('r')));
    ASSERT_TRUE(QDir().mkpath(deep));
    QFile::setPermissions(deep, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
    ChildProcess tool(QStringLiteral(BRINDLE_EXE));
    QDeadlineTimer cap(kCapMs);
    while (!cap.hasExpired() && !ReadLines(log).join('\n').contains("too long for a socket"))
        QThread::msleep(20);
    const QString expected =
        QStringLiteral("the runtime folder %1/quillon/windows is too long for a socket").arg(deep);
    EXPECT_TRUE(ReadLines(log).join('\n').contains(expected))
        << ReadLines(log).join('\n').toStdString();
    EXPECT_TRUE(tool.WaitForErrors(QFile::encodeName(expected))) << tool.Errors().toStdString();
}

TEST_F(ToolProcess, AFullCloseWithLoggingWritesTheClosingLinesInOrder) {
    const QString log = WantLog(true);
    ChildProcess tool(QStringLiteral(BRINDLE_EXE));
    const uint32_t window = WaitForToolWindow();
    ASSERT_NE(window, 0u);
    Post(1350);
    EXPECT_EQ(tool.WaitForExit(), 0);
    EXPECT_EQ(WithoutActivations(LogLines(log)), ClosingLines(window));
}

TEST_F(ToolProcess, ControllerCommandsSwitchLoggingStopLoadsAndEndTheTool) {
    const QString log = env.dir().file(QStringLiteral("suite.log"));
    env.dir().write(QStringLiteral("suite.log"), QByteArray());
    SetLogFilenameSetting(log);
    SetLogging(false);
    QByteArray list;
    for (int i = 0; i < 250; ++i)
        list += "entry" + QByteArray::number(i) + "\n";
    SetLemmaMatchStopFilename(kTool, 0, env.dir().write(QStringLiteral("stop.txt"), list));

    ChildProcess controller(QStringLiteral(CONTROLLER_EXE));
    ASSERT_NE(WaitForControllerWindow(controller), 0u);
    ChildProcess tool(QStringLiteral(BRINDLE_EXE));
    const uint32_t window = WaitForToolWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(controller.WaitForLine(), Announce(window));
    EXPECT_EQ(controller.WaitForLine(), Code(4601, window));

    Post(6120); // not logging yet: no line
    // Logging goes on only once the tool has served that: a tool that is
    // activated meanwhile takes the shared choice up by itself. Messages are
    // served in order, so the loader's two long messages say that it has.
    Post(234);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(controller.WaitForLine(), Announce(window));
        EXPECT_EQ(controller.WaitForLine(), Code(6106, window));
    }
    SetLogging(true);
    Post(233);
    Post(701); // unknown: nothing
    Post(6121);
    Post(234); // cancelled at its first report, as a stop was asked for
    // The loader's two long messages reach the controller.
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(controller.WaitForLine(), Announce(window));
        EXPECT_EQ(controller.WaitForLine(), Code(6106, window));
    }
    tProgressParams record{};
    ASSERT_TRUE(GetProgressParams(tool.process().processId(), &record));
    EXPECT_EQ(QString::fromUtf16(record.long_message), suite::QLListIsntLoaded());

    Post(6122);
    EXPECT_EQ(tool.WaitForExit(), 0);
    EXPECT_EQ(controller.WaitForLine(), Announce(window));
    EXPECT_EQ(controller.WaitForLine(), Code(4600, window));

    const QStringList lines = WithoutActivations(LogLines(log));
    ASSERT_EQ(lines.size(), 3 + ClosingLines(window).size()) << lines.join('\n').toStdString();
    const QRegularExpression asap(QStringLiteral("^") +
                                  QRegularExpression::escape(suite::QLStoppingASAP()) + ".+$");
    const QRegularExpression panic(QStringLiteral("^") +
                                   QRegularExpression::escape(suite::QLPanicStopAt()) + ".+$");
    EXPECT_TRUE(asap.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(lines[1], suite::QLListIsntLoaded());
    EXPECT_TRUE(panic.match(lines[2]).hasMatch()) << lines[2].toStdString();
    EXPECT_EQ(lines.mid(3), ClosingLines(window));
}

// --help and --version print and exit before any window or suite service:
// no controller is started, no display is needed.
TEST(BrindleCommandLine, HelpAndVersionPrintAndExit) {
    const struct {
        const char *option;
        const char *start;
    } cases[] = {{"--help", "Usage: brindle"}, {"-h", "Usage: brindle"}, {"--version", "brindle "}};
    for (const auto &c : cases) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(BRINDLE_EXE), {QLatin1String(c.option)});
        ASSERT_TRUE(p.waitForFinished(15000)) << c.option;
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.option;
        EXPECT_EQ(p.exitCode(), 0) << c.option;
        EXPECT_TRUE(p.readAllStandardOutput().startsWith(c.start)) << c.option;
    }
}

} // namespace
