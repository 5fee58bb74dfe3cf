// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The data folder as the user typed it, made absolute, and whether it can be
// walked at all.

#include <QString>

namespace app {

// `text` relative to the current folder made absolute and cleaned; empty
// stays empty.
QString AbsoluteDataFolder(const QString &text);

// Empty when `folder` can be opened and listed; otherwise the cause, as the
// system gives it ("No such file or directory", "Permission denied", "Not a
// directory").
QString FolderProblem(const QString &folder);

} // namespace app
