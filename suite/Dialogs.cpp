// SPDX-License-Identifier: GPL-3.0-or-later
#include "Dialogs.h"

#include "ResourceStrings.h"

#include <cstdio>

namespace suite {

bool Global_TimedOut = false;

namespace {
TDialogService *gService = nullptr;
} // namespace

int ShowMessage(QWidget *owner, const QString &title, const QString &text, TMsgDlgType type,
                unsigned buttons, int helpContext) {
    if (gService)
        return gService->ShowMessage(owner, title, text, type, buttons, helpContext);
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return mrOk;
}

int TRecordingDialogService::ShowMessage(QWidget *, const QString &title, const QString &text,
                                         TMsgDlgType type, unsigned buttons, int) {
    shown.push_back({title, text, type, buttons});
    return mrOk;
}

TDialogService *SetDialogService(TDialogService *service) {
    TDialogService *old = gService;
    gService = service;
    return old;
}

TDialogService *DialogService() {
    return gService;
}

void FailedToFind(QWidget *owner, const QString &fileName) {
    ShowMessage(owner, QStringLiteral("Brindle"), QLFailedToFind().arg(fileName),
                TMsgDlgType::Error, mbOK, 0);
}

int FormCentredMessageDlg(QWidget *owner, bool &timedOut, const QString &msg, TMsgDlgType type,
                          unsigned buttons, int helpContext, int, bool) {
    timedOut = false;
    return ShowMessage(owner, QStringLiteral("Brindle"), msg, type, buttons, helpContext);
}

void NoCorruptFilesFound(QWidget *owner) {
    ShowMessage(owner, QStringLiteral("Brindle"), QLNoCorruptFilesFound(), TMsgDlgType::Information,
                mbOK, 0);
}

} // namespace suite
