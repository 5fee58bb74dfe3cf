// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a listed file is written as a line: brindle-scan's TSV and
// JSONL output, and the window's Copy, Copy all and Save list as. Keeping a
// single writer keeps a pasted or saved list byte for byte what the scanner
// prints for the same run.

#include "FileCheck.h"

#include <QByteArray>
#include <QString>

namespace engine {

// The path with its TSV escapes (suite::TsvPath: any name survives), a TAB,
// the reason in UTF-8 and a line feed: a default run's line.
QByteArray SuspectLine(const QString &path, const TVerdict &verdict);

// One line for a listed file. `extended`: the extended run's fields and
// columns (see brindle-scan --help); a default run's lines never change.
// `result`: Suspect, or TooShort for a file listed as too short to judge.
QByteArray JsonLine(const QString &path, const TVerdict &verdict, bool extended = false,
                    TCheckResult result = TCheckResult::Suspect);
QByteArray TsvLine(const QString &path, const TVerdict &verdict, bool extended = false,
                   TCheckResult result = TCheckResult::Suspect);

// "suspect" or "too-short".
QByteArray StatusName(TCheckResult result);

// A figure as JSON and TSV write it: the shortest text that reads back as
// the same value, with a full stop whatever the locale.
QByteArray Figure(double value);
QByteArray Figure(float value);
QByteArray JsonString(const QString &s);
// `"path":"..."` with U+FFFD for each byte of the name that is not part of
// valid UTF-8, then, only for such a name, `,"path_bytes":"..."` with its
// exact bytes in base64.
QByteArray JsonPathFields(const QString &path);

} // namespace engine
