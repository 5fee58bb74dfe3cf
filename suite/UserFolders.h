// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's read-write folder of the suite.

#include <QString>

namespace suite {

// $XDG_DATA_HOME/Quillon/ (an absolute XDG_DATA_HOME only, as the XDG rules
// say), else ~/.local/share/Quillon/; with a trailing "/". The folder is
// created when missing; if that fails the name is still returned and the
// caller meets the error when it writes there.
QString GetUserReadWriteFolder();

} // namespace suite
