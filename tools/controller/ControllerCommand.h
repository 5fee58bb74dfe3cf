// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controller stand-in's command mode: posts one 0x401 command code to a
// tool's window, as the suite's controller does.

#include "WindowMessage.h"

#include <QTextStream>
#include <cstdint>

namespace controller {

// Posts `code` to `window`, or when that is 0 to the active main window the
// tool registered. Returns the exit status: 0 posted, 1 no such window.
int PostCommand(uint16_t code, uint8_t tool, platform::TWindowHandle window, QTextStream &err);

} // namespace controller
