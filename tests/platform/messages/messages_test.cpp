// SPDX-License-Identifier: GPL-3.0-or-later
#include "IsolatedEnv.h"
#include "PostMessage.h"
#include "TMessageReceiver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <gtest/gtest.h>

#include <cstring>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

// Runs the event loop until `done` holds; the cap only ends a broken test.
// `done` is asked once a turn and never again once it held: it may act (post
// a message), and asking twice would act twice.
template <typename Done> bool PumpUntil(Done done) {
    QDeadlineTimer cap(10000);
    for (;;) {
        if (done())
            return true;
        if (cap.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

// Sends raw bytes over one connection, then closes it.
void SendRaw(TWindowHandle to, const QByteArray &bytes) {
    QLocalSocket socket;
    socket.connectToServer(WindowSocketPath(to));
    ASSERT_TRUE(socket.waitForConnected(2000));
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    socket.disconnectFromServer();
}

struct Received {
    std::vector<TMessage> messages;
    TMessageReceiver receiver{[this](const TMessage &m) { messages.push_back(m); }};
};

} // namespace

TEST(WindowMessage, RecordIsTwelveLittleEndianBytes) {
    const QByteArray bytes = EncodeMessage({0x401, 0x0012'11F9, 0xA1B2C3D4});
    EXPECT_EQ(bytes, QByteArray::fromHex("01040000f9111200d4c3b2a1"));
    EXPECT_EQ(DecodeMessage(bytes), (TMessage{0x401, 0x0012'11F9, 0xA1B2C3D4}));
    for (int size : {0, 1, 11, 13, 24})
        EXPECT_FALSE(DecodeMessage(QByteArray(size, '\1'))) << size;
}

TEST(WindowMessage, PostedMessagesArriveInOrderOnTheOwningThread) {
    IsolatedEnv env;
    Received r;
    ASSERT_TRUE(r.receiver.Open());
    EXPECT_NE(r.receiver.handle(), 0u);
    const std::vector<TMessage> sent = {{0x4E4, 18, 7}, {0x401, 4601, 7}, {0x401, 4600, 7}};
    for (const TMessage &m : sent) {
        EXPECT_TRUE(PostMessage(r.receiver.handle(), m));
        // Posting never delivers on the spot: the loop does.
        EXPECT_TRUE(r.messages.size() < sent.size());
        ASSERT_TRUE(PumpUntil([&] { return r.messages.size() == size_t(&m - &sent[0] + 1); }));
    }
    EXPECT_EQ(r.messages, sent);
}

// The order of the connections is the order of service, whichever finishes
// first: a sender that is slow to finish (a loaded machine) holds the later
// ones back rather than being served after them. (It is cut off after its
// timeout, so it holds them for no longer than that.)
TEST(WindowMessage, MessagesAreServedInTheOrderTheirConnectionsWereMade) {
    IsolatedEnv env;
    Received r;
    ASSERT_TRUE(r.receiver.Open());
    QLocalSocket slow;
    slow.connectToServer(WindowSocketPath(r.receiver.handle()));
    ASSERT_TRUE(slow.waitForConnected(2000));
    const TMessage first{0x401, 233, 0}, second{0x401, 6121, 0}, third{0x401, 234, 0};
    slow.write(EncodeMessage(first));
    ASSERT_TRUE(slow.waitForBytesWritten(2000));
    ASSERT_TRUE(PostMessage(r.receiver.handle(), second));
    ASSERT_TRUE(PostMessage(r.receiver.handle(), third));
    // Time for the later two to be served out of turn, were they to be.
    PumpUntil([&, cap = QDeadlineTimer(500)] { return cap.hasExpired(); });
    EXPECT_TRUE(r.messages.empty());
    slow.disconnectFromServer();
    ASSERT_TRUE(PumpUntil([&] { return r.messages.size() >= 3; }));
    EXPECT_EQ(r.messages, (std::vector<TMessage>{first, second, third}));
}

TEST(WindowMessage, MalformedRecordsAreDroppedAndLaterOnesStillArrive) {
    IsolatedEnv env;
    Received r;
    ASSERT_TRUE(r.receiver.Open());
    const TMessage good{0x401, 233, 0};
    SendRaw(r.receiver.handle(), QByteArray());                              // nothing
    SendRaw(r.receiver.handle(), EncodeMessage(good).left(5));               // short
    SendRaw(r.receiver.handle(), EncodeMessage(good) + "\1\2\3\4");          // long
    SendRaw(r.receiver.handle(), EncodeMessage(good) + EncodeMessage(good)); // two in one
    ASSERT_TRUE(PostMessage(r.receiver.handle(), good));
    ASSERT_TRUE(PumpUntil([&] { return !r.messages.empty(); }));
    // Give the loop a further turn for anything wrongly queued behind it.
    PostMessage(r.receiver.handle(), {0x401, 1, 0});
    ASSERT_TRUE(PumpUntil([&] { return r.messages.size() >= 2; }));
    EXPECT_EQ(r.messages, (std::vector<TMessage>{good, {0x401, 1, 0}}));
}

TEST(WindowMessage, HandlesAreUniqueAndAClosedWindowTakesNoMessages) {
    IsolatedEnv env;
    Received a, b;
    ASSERT_TRUE(a.receiver.Open());
    ASSERT_TRUE(b.receiver.Open());
    EXPECT_NE(a.receiver.handle(), b.receiver.handle());
    const TWindowHandle gone = a.receiver.handle();
    a.receiver.Close();
    EXPECT_EQ(a.receiver.handle(), 0u);
    EXPECT_FALSE(QFile::exists(WindowSocketPath(gone)));
    EXPECT_FALSE(PostMessage(gone, {0x401, 1, 0}));
    EXPECT_FALSE(PostMessage(0, {0x401, 1, 0}));
}

TEST(WindowMessage, ARuntimeFolderTooLongForASocketNamesTheCause) {
    IsolatedEnv env;
    const QString deep = env.dir().file(QString(110, QLatin1Char('r')));
    ASSERT_TRUE(QDir().mkpath(deep));
    QFile::setPermissions(deep, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(deep));
    Received r;
    EXPECT_FALSE(r.receiver.Open());
    EXPECT_TRUE(r.receiver.ErrorString().startsWith(
        QStringLiteral("the runtime folder %1/quillon/windows is too long for a socket").arg(deep)))
        << r.receiver.ErrorString().toStdString();
}

// Far more connections than the process has descriptors: the mailbox must
// stay up (socket file there, records delivered) once the flood is over.
TEST(WindowMessage, AConnectionFloodLeavesTheMailboxWorking) {
    IsolatedEnv env;
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &saved), 0);
    rlimit low = saved;
    low.rlim_cur = 256;
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
    Received r;
    ASSERT_TRUE(r.receiver.Open());
    const TWindowHandle window = r.receiver.handle();
    const QByteArray path = QFile::encodeName(WindowSocketPath(window));

    int ready[2], release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t flood = ::fork();
    ASSERT_GE(flood, 0);
    if (flood == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        // The flooder has descriptors enough for all its connections.
        ::setrlimit(RLIMIT_NOFILE, &saved);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        for (int i = 0; i < 1100; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            if (fd >= 0)
                ::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr);
            if (i % 50 == 0)
                ::usleep(2000); // let the receiver take them in
        }
        ::write(ready[1], "x", 1);
        char c;
        ::read(release[0], &c, 1); // holds every connection until told
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    // Serve while the flood comes in, then a while longer.
    pollfd done{ready[0], POLLIN, 0};
    ASSERT_TRUE(PumpUntil([&] { return ::poll(&done, 1, 0) == 1; }));
    QDeadlineTimer moreTurns(300);
    while (!moreTurns.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ::close(release[1]);
    ::waitpid(flood, nullptr, 0);
    ::close(ready[0]);

    const TMessage after{0x401, 6121, 1};
    ASSERT_TRUE(PumpUntil([&] { return PostMessage(window, after); }));
    ASSERT_TRUE(PumpUntil([&] { return !r.messages.empty(); }));
    EXPECT_EQ(r.messages.back(), after);
    EXPECT_EQ(r.receiver.handle(), window);
    r.receiver.Close();
    ::setrlimit(RLIMIT_NOFILE, &saved);
}
