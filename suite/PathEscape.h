// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a file name into a line of output (brindle-scan's, a saved list)
// so that any name survives.
//
// Names are carried as QString with the surrogate escape of FileNames.h: a
// byte that is not part of valid UTF-8 is the lone surrogate U+DC80 + byte.
//
// TSV: a name is written as its bytes, except that a backslash is written
// "\\", a TAB "\t", a line feed "\n", a carriage return "\r", and every other
// control character (U+0000-U+001F, U+007F: an ESC would reach the terminal)
// and every byte that is not part of valid UTF-8 "\xHH" (two lower-case hex
// digits). Nothing else is escaped, so a name in plain UTF-8 without those
// characters is written exactly as it is, and undoing the five escapes gives
// back the exact bytes.

#include <QByteArray>
#include <QString>

namespace suite {

QByteArray TsvPath(const QString &path);
// Any other text column (a reason, a set name): escaped as a name is, so
// that no value can end its field or its line.
QByteArray TsvText(const QString &text);
// The inverse of TsvPath: the name's exact bytes. (For tests and tools.)
QByteArray UnescapeTsvPath(const QByteArray &field);

} // namespace suite
