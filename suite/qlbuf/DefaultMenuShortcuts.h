// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's shortcuts as they are before the user changes any: what the
// shared settings answer for a function whose shortcut was never stored.
//
// The tool data module's menu is designed with these same shortcuts; a test
// keeps the two in step.

#include <cstdint>

// The default shortcut of function `tag` in the suite's set; 0 for none.
uint16_t DefaultMenuShortcut(int32_t tag);
