// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up and shut-down steps of the program's units, which run before
// the application object exists and after the main window and the data
// module are gone. Shut-down writes each unit's "quit" text while logging.

#include <QStringList>

namespace app {

// In the units' order: style index, shared settings and log file, progress
// reporter, window handle, temporary folder, installed languages, tool
// window list, style names.
void StartUpUnits();
// In the reverse order; the main window must already be destroyed.
void ShutDownUnits();

// The installed languages, one per distinct short name; kept from start-up
// to shut-down.
const QStringList &InstalledLanguages();

} // namespace app
