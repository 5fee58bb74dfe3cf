// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The controller stand-in's server: registers itself as the suite's
// controller window and prints one line for every message it receives.

#include <QTextStream>

namespace controller {

// Runs until SIGINT or SIGTERM, or with `exitWithTools` once the last tool
// window that announced itself (code 4601) has gone (code 4600); returns
// the exit status. Refuses (status 1) when another controller is already
// registered and alive.
int RunServer(QTextStream &out, QTextStream &err, bool exitWithTools = false);

} // namespace controller
