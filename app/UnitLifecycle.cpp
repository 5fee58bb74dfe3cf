// SPDX-License-Identifier: GPL-3.0-or-later
#include "UnitLifecycle.h"

#include "Logging_utilities.h"
#include "MainWindowRegistration.h"
#include "My_types.h"
#include "SharedVariables.h"
#include "TMSStyles.h"
#include "ToolPagesU.h"
#include "multi_tool_base.h"
#include "qlbuf.h"
#include "quillon_minimal_progress.h"

#include <QDir>
#include <QLocale>

namespace app {

namespace {

QStringList gLanguages;

void LogPart(const QString &text) {
    if (keeping_log)
        AddToLogFile(text, false);
}

void LogLine(const QString &text) {
    if (keeping_log)
        AddToLogFile(text, true);
}

void BuildLanguageList() {
    gLanguages.clear();
    for (const QString &name : QLocale::system().uiLanguages()) {
        const QString shortName = QLocale::languageToCode(QLocale(name).language());
        if (!shortName.isEmpty() && !gLanguages.contains(shortName))
            gLanguages << shortName;
    }
    if (!keeping_log)
        return;
    AddToLogFile(QStringLiteral("system languages: "), true);
    for (const QString &language : gLanguages)
        AddToLogFile(QLatin1Char('\t') + language, true);
}

} // namespace

const QStringList &InstalledLanguages() {
    return gLanguages;
}

void StartUpUnits() {
    CurrentTMSStyle = 14;

    SetCurrentTool();
    SetupQlbufSharing();
    if (current_tool_var == kControllerTool && GetShellWnd() == 0)
        SetAllDefaults();
    SetLogFilename(GetLogFilename());
    global_colours_and_typefaces = GetDefaultColoursAndTypefaces();

    CreateGlobalProgress();
    global_own_HWnd = 0;
    // The file dialogs are Qt's own everywhere, so there is no dialog style
    // to choose; and there is no exception-reporting layer to point.
    my_temp_path = QDir::tempPath();
    BuildLanguageList();
    CreateGlobalToolWindowList();
    FillStyleNames();
}

void ShutDownUnits() {
    LogPart(QStringLiteral("quit multi_tool_base, "));
    FreeGlobalToolWindowList();
    LogPart(QStringLiteral("quit language_detailsU, "));
    gLanguages.clear();
    LogPart(QStringLiteral("quit font_stuff, "));
    LogPart(QStringLiteral("quit chosenfilesBaseU, "));
    LogPart(QStringLiteral("quit myTagSwapLists, "));
    LogLine(QStringLiteral("quitting exception_handling_unit\n") + QString(50, QLatin1Char('*')));
    UnsetMainWindow();
    FreeGlobalProgress();
    LogLine(QStringLiteral("quit TEXTBUF"));
}

} // namespace app
