// SPDX-License-Identifier: GPL-3.0-or-later
#include "SuiteHooks.h"

#include "ApplyTypeface.h"
#include "Logging_utilities.h"
#include "MainWindow.h"
#include "NotifyShell.h"
#include "SetUpToolWindow.h"
#include "SharedVariables.h"
#include "StartTool.h"
#include "Tool_imagelist.h"
#include "multi_tool_base.h"
#include "tool_data_module.h"

#include <QGuiApplication>

#include <cstdio>

namespace app {

namespace {

QString gNoMailboxCause;

void GiveImage(TAdvGlowButton *button, const TImageList &list) {
    if (button->ImageIndex >= 0 && button->ImageIndex < list.size())
        button->setIcon(list.at(button->ImageIndex));
}

} // namespace

void StoreOwnHandleStep(TForm1 *form) {
    global_own_HWnd = form->OwnHandle();
}

void ReportNoMailbox(const QString &cause) {
    gNoMailboxCause =
        QStringLiteral("brindle: the suite's controller cannot reach this window: ") + cause;
    std::fprintf(stderr, "%s\n", gNoMailboxCause.toLocal8Bit().constData());
}

void StartToolStep() {
    StartTool(kControllerTool);
}

void NotifyShellStep(int code) {
    NotifyShell(uint16_t(code));
}

void AssignButtonImagesStep(TForm1 *form) {
    LoadupTheImageLists();
    GiveImage(form->Button1, ImageListHelpOKCancel16);
    GiveImage(form->ButtonHelp, ImageListHelpOKCancel16);
    GiveImage(form->ButtonStop, ImageListMain);
}

void SetUpToolWindowStep(TForm1 *form) {
    SetUpToolWindow(form);
    if (keeping_log && !gNoMailboxCause.isEmpty())
        AddToLogFile(gNoMailboxCause, true);
}

void HookActivationStep(TForm1 *form) {
    // The program as a whole becoming active, the first time included.
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, form,
                     [form](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive)
                             form->FormActivate();
                     });
}

void ActivateMainFormStep(TForm1 *form) {
    ActivateMainForm(form, nullptr, &ApplyTypefaceToAllForms);
}

void HandleAHelpFileChoiceStep(int topic) {
    if (DataModuleQuillon)
        DataModuleQuillon->HandleAHelpFileChoice(topic);
}

void ControllerMessageStep(TForm1 *, uint32_t wParam, uint32_t lParam) {
    HandleControllerMessage(wParam, lParam);
}

void LogToolClosingStep() {
    LogToolClosing();
}

} // namespace app
