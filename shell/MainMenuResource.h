// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's shared main menu as the data module holds it: 176 items whose
// tags say what each is (-2, -3, -4 menu headings, -1 submenu holders and
// Fast Exit, 0 separators and one untagged holder, 1-198 the suite's
// function numbers, each used once).
//
// Every program of the suite builds the same tree, so a function number
// names the same command everywhere; change it only together with them.

#include "ShortCuts.h"

#include <QObject>
#include <span>

class TAdvMainMenu;

struct TMenuResourceRow {
    int depth; // 0 for a top-level menu
    const char *name;
    const char *caption;
    int tag;
    TShortCut shortCut; // the suite's default
};

std::span<const TMenuResourceRow> MainMenuResource();

// Fills `menu` with the resource tree; every item is owned by `owner`.
void BuildMainMenu(TAdvMainMenu *menu, QObject *owner);
