// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Posting a message to a window, as the suite's windows do to each other.

#include "WindowMessage.h"

namespace platform {

// Delivers `m` to the window `to` and returns at once, never waiting for the
// receiver. A missing window or a full queue loses the message silently;
// the result says whether the record was handed to the receiver's socket,
// and callers that mimic a fire-and-forget post may ignore it.
bool PostMessage(TWindowHandle to, const TMessage &m);

} // namespace platform
