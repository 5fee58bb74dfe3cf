// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's shared image lists: menu images and tool icons, and the small
// Help, OK and Cancel images of buttons.

#include "MenuComponents.h"

extern TImageList ImageListMain;
extern TImageList ImageListHelpOKCancel16;

// Fills both lists; needs a running QGuiApplication. Filling again is
// harmless.
void LoadupTheImageLists();
// The index in ImageListMain of the stop image, after the tool icons.
inline constexpr int kImageListMainStop = 32;
// The index in ImageListMain of the icon of suite tool `tool`.
int ToolTypeToImageListNumber(int tool);
