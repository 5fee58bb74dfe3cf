#pragma once
// Letting pending window events run from inside long work.

namespace app {

// Processes pending events now.
void PumpEvents();
// The yield hook's procedure: processes pending events at most every few
// milliseconds. It is called for every letter of a text, so between pumps it
// costs a counter step and, every so many calls, one clock read.
void ThrottledPump(void *);

} // namespace app
