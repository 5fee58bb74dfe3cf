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
#include <QLocalSocket>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>
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
    explicit ControllerProcess(uid_t runAs = ::geteuid())
        : ChildProcess(QStringLiteral(CONTROLLER_EXE), {}, kCapMs, runAs) {}
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
    ControllerProcess controller(kOther);
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
    own.start(QStringLiteral(CONTROLLER_EXE), {"--post", "7", "--window", QString::number(window)});
    ASSERT_TRUE(own.waitForFinished(kCapMs));
    ASSERT_EQ(own.exitCode(), 0) << own.readAllStandardError().toStdString();
    EXPECT_EQ(controller.WaitForLine(),
              QByteArray("code 7 tool 4 window ") + QByteArray::number(window));
}
