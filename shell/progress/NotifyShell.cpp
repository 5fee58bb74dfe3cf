// SPDX-License-Identifier: GPL-3.0-or-later
#include "NotifyShell.h"

#include "ControllerMessage.h"
#include "My_types.h"
#include "PostMessage.h"
#include "SharedVariables.h"
#include "qlbuf.h"

void AnnounceToolWindow() {
    platform::PostMessage(GetShellWnd(),
                          {suite::kAnnounceToolWindowMessage, current_tool_var, global_own_HWnd});
}

bool NotifyShell(uint16_t code) {
    const TQlbufWnd shell = GetShellWnd();
    if (global_own_HWnd == 0 || shell == 0 || shell == global_own_HWnd)
        return false;
    AnnounceToolWindow();
    platform::PostMessage(shell, {suite::kToolCodeMessage,
                                  suite::PackCodeAndTool(code, current_tool_var), global_own_HWnd});
    return true;
}
