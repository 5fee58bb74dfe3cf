// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindowRegistration.h"

#include "Logging_utilities.h"
#include "My_types.h"
#include "SharedVariables.h"
#include "qlbuf.h"

void SetMainWindow() {
    SetNewWnd(current_tool_var, global_own_HWnd);
    SetActiveMainToolWindow(current_tool_var, global_own_HWnd);
}

void UnsetMainWindow() {
    if (keeping_log) {
        AddToLogFile(QStringLiteral("unsetting ") + GetShortToolFilename(current_tool_var) +
                         QStringLiteral(" main window ") + QString::number(global_own_HWnd),
                     true);
        AddToLogFile(QStringLiteral("quit quillon_minimal, "), true);
    }
    if (global_own_HWnd != 0 && current_tool_var != kControllerTool)
        UnSetWnd(current_tool_var, global_own_HWnd);
    global_own_HWnd = 0;
}
