// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Process-wide variables of the suite's runtime that several units share.

#include "qlbuf/QlbufRecords.h"

#include <QString>
#include <array>
#include <cstdint>

// 0 normal; the controller's stop commands set 1 (stop at end of file),
// 2 (stop as soon as possible) or 3 (panic stop). List loading cancels
// itself while it is non-zero.
extern uint8_t panic_mode;

// The main window's handle; 0 while there is no main window.
extern uint32_t global_own_HWnd;

// The suite's colours and typefaces, copied from the shared settings.
extern TColoursAndTypefaces global_colours_and_typefaces;

// The user's read-write folder, set when the main window is created.
extern QString Global_user_ReadWrite_folder;

// Per list kind (taken modulo 128): whether its last load succeeded.
extern std::array<bool, 128> Global_stopLemmaMatchLoaded;

// The temporary folder, set once at start-up.
extern QString my_temp_path;
