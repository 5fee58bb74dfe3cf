// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool set-up of the main window at its creation.

class QWidget;

namespace app {

// The suite's colours and screen typeface, the help file, the logging
// state, the window's registration, the user's folder and the menu
// shortcuts, in that order.
void SetUpToolWindow(QWidget *form);

} // namespace app
