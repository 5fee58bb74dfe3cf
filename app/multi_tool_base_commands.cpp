// SPDX-License-Identifier: GPL-3.0-or-later
// The controller's commands and the loading of the suite's word lists.

#include "multi_tool_base.h"

#include "ControllerMessage.h"
#include "FormatSettings.h"
#include "Logging_utilities.h"
#include "My_types.h"
#include "ResourceStrings.h"
#include "SharedVariables.h"
#include "ToolPagesU.h"
#include "lemmatiser.h"
#include "qlbuf.h"
#include "quillon_minimal_progress.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

namespace app {

namespace {

void Stop(uint8_t mode, const QString &text) {
    panic_mode = mode;
    if (keeping_log)
        AddToLogFile(text + suite::TimeOfDayText(), true);
}

void Terminate() {
    QCoreApplication::quit();
}

// The hourglass for as long as the object lives, where there is a screen.
class TBusyCursor {
public:
    TBusyCursor() : fShown(qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (fShown)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~TBusyCursor() {
        if (fShown)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool fShown;
};

} // namespace

void HandleControllerMessage(uint32_t wParam, uint32_t lParam) {
    const uint16_t code = suite::MessageFromCallingProgram(wParam, lParam).code;
    if (code >= suite::kCmdLoadListFirst && code <= suite::kCmdListLast) {
        const int32_t kind = (code - suite::kCmdLoadListFirst) / 2;
        if ((code - suite::kCmdLoadListFirst) % 2 == 0)
            LoadLemmaMatchStopList(kind);
        else
            ClearOne(current_tool_var, kind);
        return;
    }
    switch (code) {
    case suite::kCmdLoggingChanged:
        // The controller has just set the choice: no test of the file.
        keeping_log = GetLogging();
        SetLogFilename(GetLogFilename());
        break;
    case suite::kCmdTerminate:
        Terminate();
        break;
    case suite::kCmdStopAtEndOfFile:
        Stop(1, suite::QLStoppingAtEOF());
        break;
    case suite::kCmdStopAsap:
        Stop(2, suite::QLStoppingASAP());
        break;
    case suite::kCmdPanicStop:
        Stop(3, suite::QLPanicStopAt());
        Terminate();
        break;
    default:
        break;
    }
}

bool LoadLemmaMatchStopList(int32_t kind) {
    TToolWindowList *owner = GlobalToolWindowList;
    const TLemmaLineCountCallback onLineCount = [owner](int32_t n, const hundredwidechar &mess) {
        if (owner)
            owner->SetNLines(n, mess);
    };
    const TLemmaProgressCallback onProgress = [owner](int32_t n) {
        if (owner)
            owner->ShowDLLProgress(n);
    };
    bool loaded = false;
    {
        TBusyCursor busy;
        const QString fileName = GetLemmaMatchStopFilename(current_tool_var, kind);
        if (!fileName.isEmpty()) {
            TTextSettings textSettings;
            GetTextSettings(textSettings);
            const uint32_t result =
                LoadedOne(current_tool_var, reinterpret_cast<const char16_t *>(fileName.utf16()),
                          kind, onLineCount, onProgress, textSettings.ListLoaderValue(), 0, 0);
            loaded = (result & 0xFFFF) != 0;
        }
        Global_stopLemmaMatchLoaded[size_t(kind & 127)] = loaded;
        if (owner)
            owner->ShowDLLProgress(0);
        const QString said = loaded ? suite::QLListIsLoaded() : suite::QLListIsntLoaded();
        if (GlobalProgress)
            GlobalProgress->ProgressLongMessage(said);
        if (keeping_log)
            AddToLogFile(said, true);
    }
    return loaded;
}

} // namespace app
