// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon_minimal_progress.h"

#include "ControllerMessage.h"
#include "Dialogs.h"
#include "Logging_utilities.h"
#include "Mykpsmall.h"
#include "NotifyShell.h"
#include "ResourceStrings.h"
#include "qlbuf.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>

TProgressClass *GlobalProgress = nullptr;

namespace {

constexpr int kMessageUnits = 200;

void PutMessage(char16_t (&area)[201], const QString &text) {
    std::memset(area, 0, sizeof(area));
    const int n = std::min<int>(int(text.size()), kMessageUnits);
    std::memcpy(area, text.utf16(), size_t(n) * sizeof(char16_t));
}

QString GetMessage(const char16_t (&area)[201]) {
    const auto end = std::find(std::begin(area), std::end(area), u'\0');
    return QString::fromUtf16(area, end - std::begin(area));
}

QString Percent(int32_t value) {
    return QString::number(value) + QLatin1Char('%');
}

// Controller notification code of each report kind; 0 sends nothing.
constexpr uint16_t kCodes[] = {suite::kNoteThisPercent,
                               suite::kNoteOverallPercent,
                               suite::kNoteShortMessage,
                               suite::kNoteLongMessage,
                               suite::kNoteProgressShown,
                               suite::kNoteRunningWords,
                               0,
                               suite::kNoteMemoryReport,
                               suite::kNoteAllCleared,
                               suite::kNoteBarsCleared,
                               0,
                               0};

} // namespace

void TProgressClass::SetPanel(int panel, const QString &text) {
    if (ProgressStatusBar->PanelCount() > panel)
        ProgressStatusBar->SetPanelText(panel, text);
}

void TProgressClass::ToolPanels(tprogress_types one) {
    switch (one) {
    case ThisPercentChanged:
        SetPanel(0, Percent(fparams.this_percent));
        break;
    case OverallPercentChanged:
        SetPanel(1, Percent(fparams.overall_percent));
        break;
    case ShortMessageChanged:
        SetPanel(3, GetMessage(fparams.short_message));
        break;
    case LongMessageChanged:
        SetPanel(8, GetMessage(fparams.long_message));
        break;
    case AllCleared:
        SetPanel(0, QStringLiteral("0%"));
        SetPanel(1, QStringLiteral("0%"));
        SetPanel(8, QString());
        SetPanel(3, QString());
        break;
    case BarsCleared:
        SetPanel(0, QStringLiteral("0%"));
        SetPanel(1, QStringLiteral("0%"));
        break;
    default:
        break;
    }
}

void TProgressClass::ReportProgress(tprogress_types one) {
    MyYieldProcess();
    if (Hidden)
        return;
    if (AtShellOrTool == AtTool && ProgressStatusBar && ProgressStatusBar->PanelCount() > 0) {
        ToolPanels(one);
    } else {
        SetProgressParams(&fparams);
        if (one < std::size(kCodes) && kCodes[one] != 0)
            NotifyShell(kCodes[one]);
    }
    if (one == ErrorReport || one == FatalErrorReport) {
        const QString caption = one == ErrorReport ? suite::QLError() : suite::QLHalting();
        suite::ShowMessage(nullptr, caption, GetMessage(fparams.long_message),
                           suite::TMsgDlgType::Warning, suite::mbOK, 0);
        // A fatal error must not end the process as a success.
        if (one == FatalErrorReport)
            std::exit(1);
    }
    MyYieldProcess();
}

void TProgressClass::ThisPercent(int32_t value) {
    if (value == fparams.this_percent)
        return;
    fparams.this_percent = value;
    ReportProgress(ThisPercentChanged);
}

void TProgressClass::OverallPercent(int32_t value) {
    if (value == fparams.overall_percent)
        return;
    fparams.overall_percent = value;
    ReportProgress(OverallPercentChanged);
}

void TProgressClass::ClearBarsOnly() {
    ThisPercent(0);
    OverallPercent(0);
}

void TProgressClass::ProgressShortMessage(const QString &mensagem_curta) {
    PutMessage(fparams.short_message, mensagem_curta);
    ReportProgress(ShortMessageChanged);
}

void TProgressClass::ProgressLongMessage(const QString &mensagem_longa) {
    PutMessage(fparams.long_message, mensagem_longa);
    ReportProgress(LongMessageChanged);
}

void TProgressClass::ProgressShortMessageOutOf(const QString &mensagem_curta, int32_t position,
                                               int32_t out_of) {
    ProgressShortMessage(mensagem_curta);
    // Widened so that large counts cannot overflow into a wrong percentage.
    if (out_of > 0)
        ThisPercent(int32_t(int64_t(position) * 100 / out_of));
}

void TProgressClass::RunningWords(int32_t value) {
    fparams.running_words = value;
    ReportProgress(RunningWordsChanged);
}

void TProgressClass::Memory() {
    ReportProgress(MemoryReport);
}

void TProgressClass::ShowError(const QString &mensagem) {
    PutMessage(fparams.long_message, mensagem);
    ReportProgress(ErrorReport);
}

void TProgressClass::FatalError(const QString &mensagem) {
    PutMessage(fparams.long_message, mensagem);
    ReportProgress(FatalErrorReport);
}

void TProgressClass::Show(TShellOrTool aShellOrTool) {
    AtShellOrTool = aShellOrTool;
    Hidden = false;
    ReportProgress(Shown);
}

void TProgressClass::Hide() {
    NotifyShell(suite::kNoteProgressHidden);
    if (ProgressStatusBar)
        SetPanel(2, QString());
    Hidden = true;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->raise();
}

void TProgressClass::ClearAllAndShow(QPoint ACentreOfAppWindow, TShellOrTool aShellOrTool) {
    AtShellOrTool = aShellOrTool;
    Show(aShellOrTool);
    ClearParams(ACentreOfAppWindow);
}

void TProgressClass::ClearParams(QPoint ACentreOfAppWindow) {
    fparams = tProgressParams{};
    fparams.centre_x = ACentreOfAppWindow.x();
    fparams.centre_y = ACentreOfAppWindow.y();
    ReportProgress(AllCleared);
}

void CreateGlobalProgress() {
    if (!GlobalProgress)
        GlobalProgress = new TProgressClass;
}

void FreeGlobalProgress() {
    if (keeping_log)
        AddToLogFile(QStringLiteral("quit quillon_minimal_progress, "), false);
    delete GlobalProgress;
    GlobalProgress = nullptr;
}
