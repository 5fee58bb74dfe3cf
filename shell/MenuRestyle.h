// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Gives a window's main menu the gradient colours of the current style.

#include <functional>

class TAdvMainMenu;
class TDataModuleQuillon;

// Nothing when the module's styler already holds CurrentTMSStyle. Otherwise
// calls `onBegin` once the given menu's update has begun (the activation
// step logs there), sets the styler's three gradient bars, and gives `menu`
// the module's styler.
void RestyleMainMenu(TAdvMainMenu *menu, TDataModuleQuillon *module,
                     const std::function<void()> &onBegin = {});
