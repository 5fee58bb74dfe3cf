#include "EventPump.h"

#include <QCoreApplication>
#include <ctime>

namespace app {

namespace {

int64_t CoarseNowMs() {
    timespec t;
    // The coarse clock is read without a system call; its few milliseconds'
    // resolution is plenty for a pump interval of the same order.
    clock_gettime(CLOCK_MONOTONIC_COARSE, &t);
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

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

void PumpEventsIfDue() {
    if (CoarseNowMs() - gLastPumpMs >= kPumpIntervalMs)
        PumpEvents();
}

void ThrottledPump(void *) {
    PumpEventsIfDue();
}

} // namespace app
