// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool's notifications to the suite's controller.

#include <cstdint>

// Posts the announcement of the tool's window (0x4E4) to the controller.
void AnnounceToolWindow();

// Announces the tool's window, then posts `code` (0x401) to the controller.
// Sends nothing and gives false while the tool has no main window, no
// controller runs, or the controller is the tool's own window.
bool NotifyShell(uint16_t code);
