// SPDX-License-Identifier: GPL-3.0-or-later
// quillon-controller as a real peer process.

#include "ChildProcess.h"
#include "ControllerMessage.h"
#include "IsolatedEnv.h"
#include "PostMessage.h"
#include "TMessageReceiver.h"
#include "qlbuf.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

// The caps only end a broken test; nothing here measures speed.
constexpr int kCapMs = 10000;

template <typename Done> bool PumpUntil(Done done) {
    QDeadlineTimer cap(kCapMs);
    while (!done() && !cap.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

// The controller, run as `runAs` (the test's own user by default).
class ControllerProcess : public ChildProcess {
public:
    explicit ControllerProcess(uid_t runAs = ::geteuid(),
                               const QString &program = QStringLiteral(CONTROLLER_EXE))
        : ChildProcess(program, {}, kCapMs, runAs) {}
    // The window handle the controller announces on standard error.
    TWindowHandle WaitForWindow() {
        const QByteArray line = WaitForFirstErrorLine();
        return line.mid(line.lastIndexOf(' ') + 1).toUInt();
    }
};

int RunPost(const QStringList &args, QByteArray *err = nullptr) {
    QProcess post;
    post.start(QStringLiteral(CONTROLLER_EXE), QStringList{"--post"} + args);
    post.waitForFinished(kCapMs);
    if (err)
        *err = post.readAllStandardError();
    return post.exitCode();
}

// Whether `user` may reach and run `program` and enter `folder`, tried as
// that user in a child process.
bool UserCanReach(uid_t user, const QByteArray &program, const QByteArray &folder) {
    const pid_t pid = ::fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const bool ok = ::setgid(user) == 0 && ::setuid(user) == 0 &&
                        ::access(program.constData(), X_OK) == 0 &&
                        ::access(folder.constData(), X_OK) == 0;
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A copy of the controller and its library in a fresh folder under /tmp that
// every user may enter: the build tree may sit in a folder only its owner
// can enter (a clone under /root), out of another user's reach. While it
// lives, programs started find the library there first.
class ReachableController {
public:
    ReachableController() : fDir(QStringLiteral("/tmp/brindle-controller-XXXXXX")) {
        const QString lib = QFileInfo(QStringLiteral(QLBUF_LIB)).fileName();
        fOk = fDir.isValid() &&
              QFile::copy(QStringLiteral(CONTROLLER_EXE), fDir.filePath("quillon-controller")) &&
              QFile::copy(QStringLiteral(QLBUF_LIB), fDir.filePath(lib)) &&
              ::chmod(QFile::encodeName(fDir.path()).constData(), 0755) == 0 &&
              ::chmod(QFile::encodeName(fDir.filePath(lib)).constData(), 0755) == 0 &&
              ::chmod(QFile::encodeName(program()).constData(), 0755) == 0;
        fSaved = qgetenv("LD_LIBRARY_PATH");
        fHadPath = qEnvironmentVariableIsSet("LD_LIBRARY_PATH");
        qputenv("LD_LIBRARY_PATH", QFile::encodeName(fDir.path()));
    }
    ~ReachableController() {
        if (fHadPath)
            qputenv("LD_LIBRARY_PATH", fSaved);
        else
            qunsetenv("LD_LIBRARY_PATH");
    }
    bool ok() const { return fOk; }
    QString program() const { return fDir.filePath("quillon-controller"); }

private:
    QTemporaryDir fDir;
    bool fOk = false;
    QByteArray fSaved;
    bool fHadPath = false;
};

} // namespace

TEST(Controller, RegistersReportsReadyAndPrintsEveryMessage) {
    IsolatedEnv env;
    ControllerProcess controller;
    const TWindowHandle window = controller.WaitForWindow();
    ASSERT_NE(window, 0u);
    EXPECT_EQ(GetShellWnd(), window);
    EXPECT_TRUE(GetQShellInitialised());

    PostMessage(window, {suite::kAnnounceToolWindowMessage, 18, 4242});
    EXPECT_EQ(controller.WaitForLine(), "announce tool 18 window 4242");
    PostMessage(window, {suite::kToolCodeMessage, suite::PackCodeAndTool(4601, 18), 4242});
    EXPECT_EQ(controller.WaitForLine(), "code 4601 tool 18 window 4242");

    // A short record is dropped; the next good one still arrives.
    QLocalSocket raw;
    raw.connectToServer(WindowSocketPath(window));
    ASSERT_TRUE(raw.waitForConnected(kCapMs));
    raw.write("\x01\x04\x00\x00\xF9", 5);
    raw.waitForBytesWritten(kCapMs);
    raw.disconnectFromServer();
    PostMessage(window, {suite::kToolCodeMessage, suite::PackCodeAndTool(4600, 18), 4242});
    EXPECT_EQ(controller.WaitForLine(), "code 4600 tool 18 window 4242");

    EXPECT_EQ(controller.Stop(), QByteArray());
    EXPECT_EQ(GetShellWnd(), 0u);
    EXPECT_FALSE(GetQShellInitialised());
}

// Started by a tool, the controller goes once the last tool window that
// announced itself has gone, not before.
TEST(Controller, ExitsWithTheLastToolWindow) {
    IsolatedEnv env;
    ChildProcess controller(QStringLiteral(CONTROLLER_EXE), {"--exit-with-tools"}, kCapMs);
    const QByteArray line = controller.WaitForFirstErrorLine();
    const TWindowHandle window = line.mid(line.lastIndexOf(' ') + 1).toUInt();
    ASSERT_NE(window, 0u);
    const auto note = [&](uint16_t code, uint32_t tool) {
        PostMessage(window, {suite::kToolCodeMessage, suite::PackCodeAndTool(code, 18), tool});
        return controller.WaitForLine();
    };
    EXPECT_EQ(note(4601, 101), "code 4601 tool 18 window 101");
    EXPECT_EQ(note(4601, 102), "code 4601 tool 18 window 102");
    EXPECT_EQ(note(4600, 101), "code 4600 tool 18 window 101");
    EXPECT_EQ(controller.process().state(), QProcess::Running) << "one window is still open";
    EXPECT_EQ(note(4600, 102), "code 4600 tool 18 window 102");
    EXPECT_EQ(controller.WaitForExit(), 0);
    EXPECT_EQ(GetShellWnd(), 0u);
}

TEST(Controller, SecondControllerRefusesToStart) {
    IsolatedEnv env;
    ControllerProcess first;
    ASSERT_NE(first.WaitForWindow(), 0u);
    QProcess second;
    second.start(QStringLiteral(CONTROLLER_EXE), {});
    ASSERT_TRUE(second.waitForFinished(kCapMs));
    EXPECT_EQ(second.exitCode(), 1);
    EXPECT_EQ(GetShellWnd(), first.WaitForWindow());
}

TEST(Controller, PostsACommandToTheToolsRegisteredWindow) {
    IsolatedEnv env;
    std::vector<TMessage> received;
    TMessageReceiver tool([&](const TMessage &m) { received.push_back(m); });
    ASSERT_TRUE(tool.Open());

    QByteArray err;
    EXPECT_EQ(RunPost({"6121"}, &err), 1) << "nothing registered yet";
    EXPECT_TRUE(err.contains("no window registered for tool 18"));

    SetNewWnd(18, tool.handle());
    SetActiveMainToolWindow(18, tool.handle());
    EXPECT_EQ(RunPost({"6121"}), 0);
    ASSERT_TRUE(PumpUntil([&] { return !received.empty(); }));
    EXPECT_EQ(received[0].message, suite::kToolCodeMessage);
    const auto command = suite::MessageFromCallingProgram(received[0].wParam, received[0].lParam);
    EXPECT_EQ(command.code, 6121);
    EXPECT_EQ(command.tool, 4);

    for (const QStringList &bad :
         {QStringList{"65536"}, QStringList{"x"}, QStringList{"1", "--tool", "256"}})
        EXPECT_EQ(RunPost(bad), 2) << bad.join(' ').toStdString();
}

// Another user's process may reach the socket (here: root, who passes the
// folder's permissions) but its records are dropped by the peer check.
TEST(Controller, RecordsFromAnotherUserAreDropped) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to run the controller as a second user";
    IsolatedEnv env;
    constexpr uid_t kOther = 65534;
    for (const char *name : {"xdg_runtime_dir", "xdg_config_home", "xdg_data_home", "home"}) {
        const QByteArray path = QFile::encodeName(env.dir().file(name));
        ASSERT_EQ(::chown(path.constData(), kOther, kOther), 0);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(env.path()).constData(), 0755), 0);
    ReachableController copy;
    ASSERT_TRUE(copy.ok()) << "cannot copy the controller under /tmp";
    if (!UserCanReach(kOther, QFile::encodeName(copy.program()), QFile::encodeName(env.path())))
        GTEST_SKIP() << "user " << kOther << " cannot reach " << copy.program().toStdString()
                     << " or " << env.path().toStdString()
                     << " (is /tmp or the temporary folder closed to other users?)";
    ControllerProcess controller(kOther, copy.program());
    const TWindowHandle window = controller.WaitForWindow();
    ASSERT_NE(window, 0u);
    const QString socketPath =
        env.dir().file("xdg_runtime_dir/quillon/windows/") + QString::number(window);

    QLocalSocket foreign;
    foreign.connectToServer(socketPath);
    ASSERT_TRUE(foreign.waitForConnected(kCapMs));
    foreign.write(EncodeMessage({suite::kToolCodeMessage, suite::PackCodeAndTool(1350, 18), 1}));
    foreign.waitForBytesWritten(kCapMs);
    foreign.disconnectFromServer();

    // The same user's post, made after, is the only line.
    QProcess own;
    own.setChildProcessModifier([] {
        if (::setgid(kOther) != 0 || ::setuid(kOther) != 0)
            ::_exit(99);
    });
    own.start(copy.program(), {"--post", "7", "--window", QString::number(window)});
    ASSERT_TRUE(own.waitForFinished(kCapMs));
    ASSERT_EQ(own.exitCode(), 0) << own.readAllStandardError().toStdString();
    EXPECT_EQ(controller.WaitForLine(),
              QByteArray("code 7 tool 4 window ") + QByteArray::number(window));
}
