// SPDX-License-Identifier: GPL-3.0-or-later
#include "EventPump.h"

#include <QCoreApplication>
#include <QThread>
#include <ctime>

namespace app {

int64_t CoarseNowMs() {
    timespec t;
    // The coarse clock is read without a system call; its few milliseconds'
    // resolution is plenty for a pump interval of the same order.
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

namespace {

int64_t gLastPumpMs = INT64_MIN / 2;

} // namespace

void PumpEvents() {
    // Set first: events served now may yield again, and need not pump twice.
    gLastPumpMs = CoarseNowMs();
    QCoreApplication::processEvents();
    // And again after: a long repaint must not make the next call pump at
    // once, starving the work.
    gLastPumpMs = CoarseNowMs();
}

bool PumpIsDue() {
    return CoarseNowMs() - gLastPumpMs >= kPumpIntervalMs;
}

void PumpEventsIfDue() {
    if (PumpIsDue())
        PumpEvents();
}

void ThrottledPump(void *) {
    // The checker yields on whatever thread checks a file; only the GUI
    // thread has events to serve (and owns gLastPumpMs). Looked up once per
    // thread, as this runs for every block of every file.
    thread_local const bool guiThread =
        QCoreApplication::instance() &&
        QThread::currentThread() == QCoreApplication::instance()->thread();
    if (guiThread)
        PumpEventsIfDue();
}

} // namespace app
