// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Letting pending window events run from inside long work.
//
// Long work on the GUI thread (a run, a word-list load) calls in here very
// often or very rarely, depending on what it does. Pumping is therefore
// throttled by time, never by a count of calls: a call reads a coarse
// monotonic clock (a few nanoseconds) and pumps only when a few milliseconds
// have passed since the last pump. Frequent callers pay almost nothing, and
// a caller that yields only now and then still gets Stop and the
// controller's commands through at its next call.

#include <cstdint>

namespace app {

// A monotonic clock in milliseconds, read without a system call; its
// resolution is a few milliseconds.
int64_t CoarseNowMs();
// Processes pending events now.
void PumpEvents();
// True when kPumpIntervalMs have passed since the last pump (by a clock with
// a resolution of a few milliseconds).
bool PumpIsDue();
// Processes pending events when PumpIsDue().
void PumpEventsIfDue();
// The yield hook's procedure: PumpEventsIfDue() on the GUI thread; nothing
// on the threads that check files for a run.
void ThrottledPump(void *);

inline constexpr int64_t kPumpIntervalMs = 8;

} // namespace app
