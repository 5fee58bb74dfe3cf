// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user folder for the suite's session state and window sockets.
//
// It lives under the user's runtime folder and only its owner may open it
// (mode 0700), so nothing placed in it can be reached by another user.

#include <QString>

namespace platform {

// "$XDG_RUNTIME_DIR/quillon/<sub>" (sub may be empty), created with mode 0700
// and its mode enforced if it already exists. Empty when the folder cannot be
// made private (for instance, it belongs to another user).
QString PrivateRuntimeFolder(const QString &sub = QString());

} // namespace platform
