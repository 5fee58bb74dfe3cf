// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small corpus files the tests share.

#include <QByteArray>

// Plenty of common digraphs, 79 bytes a line; passes the size test.
QByteArray GoodText(int repeats);
// An 8-bit file cut short by a NUL: suspect by size.
QByteArray CutText();
// Fails the digraph check against GoodText but passes the size test.
QByteArray OddDigraphText();
// UTF-16 text with 2048 distinct digraphs in falling order: its profile
// cannot be made (the tree's depth error).
QByteArray LopsidedText();
