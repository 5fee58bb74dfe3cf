#pragma once
// The help viewer: shows the page of a help context number from the help
// the user chose (by default the pages shipped with the program).

#include <QString>

// The folder of help pages installed with the program.
QString ShippedHelpFolder();

// Opens the page of `helpContext`; a context without its own page opens the
// getting-started page. False when no viewer could be started.
bool ShowHelpContext(int helpContext);
