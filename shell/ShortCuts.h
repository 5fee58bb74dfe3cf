// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's 16-bit shortcut values and their text forms.
//
// A shortcut is stored suite-wide as a virtual-key code in the low byte plus
// 0x2000 for Shift, 0x4000 for Ctrl and 0x8000 for Alt; 0 is no shortcut.
// Other programs of the suite read the same numbers, so the encoding must
// stay exactly this. The text form is Qt's portable one ("Ctrl+N").

#include <QKeySequence>
#include <QString>
#include <cstdint>

using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;

// The key sequence of `sc`; empty for 0 or a key code with no Qt key.
QKeySequence ShortCutToKeySequence(TShortCut sc);
// The shortcut value of the first key of `seq`; 0 when it has none we know.
TShortCut KeySequenceToShortCut(const QKeySequence &seq);

QString ShortCutToText(TShortCut sc);
// 0 when `text` does not parse as a shortcut.
TShortCut TextToShortCut(const QString &text);

// "&Print..." -> "Print..."; "&&" stays a literal "&".
QString StripHotkey(const QString &caption);
