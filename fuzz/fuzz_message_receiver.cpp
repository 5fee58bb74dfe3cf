// SPDX-License-Identifier: GPL-3.0-or-later
// The live receiver: any bytes sent over one connection to a real window
// socket. The handler sees exactly the record they decode to or nothing,
// never anything else, and a record posted afterwards still arrives.

#include "FuzzSupport.h"
#include "PostMessage.h"
#include "TMessageReceiver.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <vector>

namespace {

constexpr platform::TMessage kSentinel{0x401, 0xFFFF'FFFF, 0xFFFF'FFFF};

struct TWindow {
    std::vector<platform::TMessage> received;
    platform::TMessageReceiver receiver{
        [this](const platform::TMessage &m) { received.push_back(m); }};
};

TWindow &Window() {
    static int argc = 1;
    static char name[] = "fuzz_message_receiver";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    // A runtime folder of our own, so no real window is disturbed.
    static QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/brindle-fuzz-XXXXXX"));
    static TWindow *window = [] {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        auto *w = new TWindow;
        FUZZ_CHECK(w->receiver.Open());
        return w;
    }();
    return *window;
}

void SendRaw(platform::TWindowHandle to, const uint8_t *data, size_t size) {
    const QByteArray path = QFile::encodeName(platform::WindowSocketPath(to));
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    FUZZ_CHECK(fd >= 0);
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&addr), sizeof addr) == 0 && size > 0)
        (void)!::send(fd, data, size, MSG_NOSIGNAL);
    ::close(fd);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > 64)
        return 0; // longer inputs are all dropped alike
    TWindow &w = Window();
    w.received.clear();
    SendRaw(w.receiver.handle(), data, size);
    FUZZ_CHECK(platform::PostMessage(w.receiver.handle(), kSentinel));
    QDeadlineTimer cap(10000);
    while (!cap.hasExpired() && (w.received.empty() || !(w.received.back() == kSentinel)))
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    FUZZ_CHECK(!w.received.empty() && w.received.back() == kSentinel);
    const auto expected =
        platform::DecodeMessage(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    for (const platform::TMessage &m : w.received)
        FUZZ_CHECK(m == kSentinel || (expected && m == *expected));
    return 0;
}
