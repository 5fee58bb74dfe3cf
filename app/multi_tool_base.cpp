// SPDX-License-Identifier: GPL-3.0-or-later
#include "multi_tool_base.h"

#include "FormatSettings.h"
#include "Logging_utilities.h"
#include "MenuRestyle.h"
#include "My_types.h"
#include "ResourceStrings.h"
#include "TMSStyleableF.h"
#include "ToolPagesU.h"
#include "qlbuf.h"
#include "tool_data_module.h"

#include <QApplication>
#include <QFileInfo>

namespace app {

bool tool_closing = false;
QStringList StyleNames;

namespace {

void Log(const QString &text) {
    if (keeping_log)
        AddToLogFile(text, true);
}

} // namespace

void FillStyleNames() {
    StyleNames.clear();
    for (int n = 1; n <= 24; ++n)
        StyleNames << suite::QL_TMSStyle(n);
}

void RefreshLogging() {
    SetLogFilename(GetLogFilename());
    const QString name = LogFilename();
    keeping_log = GetLogging() && !name.isEmpty() && QFileInfo::exists(name);
}

void ActivateMainForm(QWidget *form, TAdvMainMenu *menu,
                      const std::function<void(int32_t)> &onDone) {
    if (tool_closing)
        return;
    RefreshLogging();
    Log(suite::TimeOfDayText() + QStringLiteral(": activating main form"));
    CurrentTMSStyle = StyleFromSuiteNumber(GetTMSOfficeStyleNum());
    if (GlobalToolWindowList)
        GlobalToolWindowList->SetAllGridsToStyle(CurrentTMSStyle);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *stylable = qobject_cast<TTMSStylableForm *>(w))
            stylable->ActivateZorador(form);
    if (onDone)
        onDone(-1);
    if (menu && DataModuleQuillon)
        RestyleMainMenu(menu, DataModuleQuillon, [] {
            Log(suite::TimeOfDayText() + QStringLiteral(": menu style to ") +
                StyleNames.value(CurrentTMSStyle));
        });
}

void LogToolClosing() {
    tool_closing = true;
    Log(QStringLiteral("********** ") + suite::QLClosingATool().arg(Tool_Name(current_tool_var)));
}

} // namespace app
