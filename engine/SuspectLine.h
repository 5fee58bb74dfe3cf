// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way a suspect file is written as a line: brindle-scan's TSV
// output, and the window's Copy, Copy all and Save list as. Keeping a single
// writer keeps a pasted or saved list byte for byte what the scanner prints.

#include "FileCheck.h"

#include <QByteArray>
#include <QString>

namespace engine {

// The path with its TSV escapes (suite::TsvPath: any name survives), a TAB,
// the reason in UTF-8 with the same escapes (a pair from a crafted profile
// may hold a TAB or a line break) and a line feed.
QByteArray SuspectLine(const QString &path, const TVerdict &verdict);

} // namespace engine
