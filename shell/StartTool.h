// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Starting another program of the suite, in practice the controller.

#include "My_types.h"

// True when the controller runs, or when `tool`'s executable (next to this
// program) was started and reported itself initialised within 31 whole
// seconds. False, silently, when there is no such executable; after a
// "Can't start " message when it could not be started; and when it never
// reported in. Pending work is let through (MyYieldProcess) while waiting.
bool StartTool(tool_type tool);
