#include "EventPump.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace app {

namespace {
constexpr unsigned kCallsPerClockRead = 256;
constexpr qint64 kPumpIntervalMs = 5;
unsigned gCalls = 0;
QElapsedTimer gSincePump;
} // namespace

void PumpEvents() {
    QCoreApplication::processEvents();
    gSincePump.start();
}

void ThrottledPump(void *) {
    if (++gCalls % kCallsPerClockRead != 0)
        return;
    if (gSincePump.isValid() && gSincePump.elapsed() < kPumpIntervalMs)
        return;
    PumpEvents();
}

} // namespace app
