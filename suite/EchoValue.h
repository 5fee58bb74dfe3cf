// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A value the user gave (a set name, an option's value, a language code) as
// a message quotes it. Such a value may be anything: megabytes long, with
// line breaks or an ESC that drives the terminal. So every control character
// (U+0000-U+001F, U+007F) is written "\xHH", and a long value is cut, with
// its length said, to a line one can read.

#include <QString>

namespace suite {

// The most characters of a value a message quotes before cutting it.
inline constexpr qsizetype kEchoChars = 80;

QString EchoValue(const QString &value);

// A message as it goes to a terminal: every control character but the line
// feed (a message may span lines) written "\xHH".
QString TerminalText(const QString &text);

} // namespace suite
