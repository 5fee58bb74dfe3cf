// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File lists in and out of brindle-scan: --files-from reads one, --list
// writes one. Paths are exact bytes: one per line (a CR before the LF and
// empty lines dropped), or with -0 one per NUL, taken exactly.

#include "FileSource.h"
#include "Printers.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace cli {

// Reads the list in `name` ("-": standard input) into `files`. Empty on
// success, else the cause. A line that holds a NUL names no path (a path
// cannot hold one): it is left out and its number, from 1, passed to
// `onNulInLine`.
QString ReadFileList(const QString &name, bool nulSeparated, QStringList &files,
                     const std::function<void(qsizetype line)> &onNulInLine);

// Writes every path of `source` to `out`, each followed by a LF (or a NUL),
// as its exact bytes, so that the list reads back with --files-from; to a
// `terminal` a control character (an ESC would drive it) is written "\xHH".
// A path holding a LF cannot be written one per line: it is passed to
// `onUnlistable` instead. False when the output failed.
bool WriteFileList(engine::TFileSource &source, TLineWriter &out, bool nulSeparated, bool terminal,
                   const std::function<void(const QString &path)> &onUnlistable);

} // namespace cli
