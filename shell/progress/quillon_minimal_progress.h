// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The process-wide progress reporter. Long operations report through it;
// it shows the progress in the tool's own status bar, or hands the progress
// record to the shared settings and notifies the controller, which shows it
// on the tool's behalf.

#include <QPoint>
#include <QString>
#include <cstddef>
#include <cstdint>

// The progress record shared with the controller, byte for byte:
// little-endian, no gaps, 832 bytes.
struct tProgressParams {
    int32_t reserved_0;      // written only when the whole record is cleared
    int32_t this_percent;    // this operation
    int32_t overall_percent; // the whole job
    int32_t centre_x;        // centre of the application window
    int32_t centre_y;
    int32_t reserved_20; // written only when the whole record is cleared
    int32_t running_words;
    // At most 200 UTF-16 units of text, then zeros.
    char16_t short_message[201];
    char16_t long_message[201];
};
static_assert(sizeof(tProgressParams) == 832);
static_assert(offsetof(tProgressParams, running_words) == 24);
static_assert(offsetof(tProgressParams, short_message) == 28);
static_assert(offsetof(tProgressParams, long_message) == 430);

enum TShellOrTool : uint8_t { AtShell = 0, AtTool = 1 };

enum tprogress_types : uint8_t {
    ThisPercentChanged = 0,
    OverallPercentChanged = 1,
    ShortMessageChanged = 2,
    LongMessageChanged = 3,
    Shown = 4,
    RunningWordsChanged = 5,
    Unused = 6,
    MemoryReport = 7,
    AllCleared = 8,
    BarsCleared = 9,
    ErrorReport = 10,
    FatalErrorReport = 11,
};

// The panels of a status bar the reporter may write to in tool mode.
class TProgressPanels {
public:
    virtual ~TProgressPanels() = default;
    virtual int PanelCount() const = 0;
    virtual void SetPanelText(int panel, const QString &text) = 0;
};

class TProgressClass {
public:
    tProgressParams fparams{};
    TProgressPanels *ProgressStatusBar = nullptr; // not owned
    bool Hidden = false;
    TShellOrTool AtShellOrTool = AtShell;

    void ReportProgress(tprogress_types one);
    void ThisPercent(int32_t value);
    void OverallPercent(int32_t value);
    void ClearBarsOnly();
    void ProgressShortMessage(const QString &mensagem_curta);
    void ProgressLongMessage(const QString &mensagem_longa);
    void ProgressShortMessageOutOf(const QString &mensagem_curta, int32_t position, int32_t out_of);
    void RunningWords(int32_t value);
    void Memory();
    void ShowError(const QString &mensagem);
    // Shows the message, then ends the process with status 1.
    void FatalError(const QString &mensagem);
    void Show(TShellOrTool aShellOrTool);
    void Hide();
    void ClearAllAndShow(QPoint ACentreOfAppWindow, TShellOrTool aShellOrTool);
    void ClearParams(QPoint ACentreOfAppWindow);
    void SetProgressStatusBar(TProgressPanels *ASB) { ProgressStatusBar = ASB; }

private:
    void ToolPanels(tprogress_types one);
    void SetPanel(int panel, const QString &text);
};

// Lives from CreateGlobalProgress to FreeGlobalProgress (start-up and
// shut-down of the program).
extern TProgressClass *GlobalProgress;
void CreateGlobalProgress();
// Writes its shut-down text to the log (line left open) when logging.
void FreeGlobalProgress();
