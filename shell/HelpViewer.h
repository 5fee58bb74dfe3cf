// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help viewer: shows the page of a help context number from the help
// the user chose (by default the pages shipped with the program).

#include <QString>

// The folder of help pages shipped with a program that lives in
// `programFolder`: <prefix>/share/brindle/help when installed under
// <prefix>/bin, <build>/help in a build tree, or a help folder next to the
// program. When none exists, the one next to the program.
QString ShippedHelpFolder(const QString &programFolder);
// The same for this program.
QString ShippedHelpFolder();

// The help in use: the help the user chose while it exists, otherwise the
// pages shipped with the program.
QString HelpInUse();

// The page of `helpContext` in the help in use; a context without its own
// page has the getting-started page.
QString HelpPageOf(int helpContext);
// Opens the page of `helpContext`. False when no viewer could be started.
bool ShowHelpContext(int helpContext);
// The same, and when no viewer could be started, says so in a message that
// gives the page's path, so the user can open it by hand.
void ShowHelpContextOrSay(int helpContext);
