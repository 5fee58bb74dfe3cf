// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControllerCommand.h"

#include "ControllerMessage.h"
#include "My_types.h"
#include "PostMessage.h"
#include "qlbuf.h"

namespace controller {

int PostCommand(uint16_t code, uint8_t tool, platform::TWindowHandle window, QTextStream &err) {
    SetupQlbufSharing();
    const platform::TWindowHandle to = window != 0 ? window : GetActiveMainToolWindow(tool);
    if (to == 0) {
        err << "quillon-controller: no window registered for tool " << tool << Qt::endl;
        return 1;
    }
    const platform::TMessage message{suite::kToolCodeMessage,
                                     suite::PackCodeAndTool(code, kControllerTool), GetShellWnd()};
    if (!platform::PostMessage(to, message)) {
        err << "quillon-controller: window " << to << " takes no messages" << Qt::endl;
        return 1;
    }
    return 0;
}

} // namespace controller
