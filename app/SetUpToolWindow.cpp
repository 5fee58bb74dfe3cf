// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetUpToolWindow.h"

#include "ApplyTypeface.h"
#include "MainWindowRegistration.h"
#include "SharedVariables.h"
#include "multi_tool_base.h"
#include "qlbuf.h"
#include "tool_data_module.h"

#include <QCoreApplication>
#include <QVariant>
#include <QWidget>

namespace app {

void SetUpToolWindow(QWidget *form) {
    global_colours_and_typefaces = GetDefaultColoursAndTypefaces();
    ApplySuiteTypeface(form);
    // Kept for the help viewer, which reads the choice itself as well.
    QCoreApplication::instance()->setProperty("HelpFile", GetHelpfilename());
    RefreshLogging();
    SetMainWindow();
    Global_user_ReadWrite_folder = GetUserReadWriteFolder();
    if (DataModuleQuillon)
        DataModuleQuillon->UpdateAllMenuShortCutsFromTextbuf();
}

} // namespace app
