// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Registering the tool's main window (global_own_HWnd) with the shared
// settings library, where the controller finds it.

// Registers the window as the tool's window and its active main window.
void SetMainWindow();
// At shut-down: logs the unsetting, withdraws the registration (never for
// the controller itself) and forgets the handle.
void UnsetMainWindow();
