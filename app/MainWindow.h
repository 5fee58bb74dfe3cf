// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TForm1: the main window. The user names known-good reference texts and a
// folder of data; Start walks the folder, has the detector check every file
// and lists each suspect file while the run goes on.
//
// The window's state lives on the GUI thread. A run checks files on every
// core while this thread takes the outcomes in list order and lets events
// through (the progress callbacks), so Stop, clicks and repaints are served
// during it and suspect files appear as they are found; a second Start is
// refused meanwhile, and a close request stops the run and closes once it
// has ended, so the detector is never destroyed while it runs.

#include "CheckControls.h"
#include "EditControls.h"
#include "ListControls.h"
#include "SpinEdits.h"
#include "Stylers.h"
#include "TAdvGlowButton.h"
#include "TAdvOfficeStatusBar.h"
#include "TAdvPanel.h"
#include "TAdvSplitter.h"
#include "TElFileNameEdit.h"
#include "TElFolderNameEdit.h"
#include "TFileAndDirIterator.h"
#include "TLabel.h"
#include "TMSStyleableF.h"
#include "TMessageReceiver.h"
#include "TPCProgressBar.h"
#include "TextFile.h"

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMimeData;
class QScrollArea;
class TExplanationPanel;
class TFileCrapDetector;
namespace app {
class TReferenceSetList;
class TResultTable;
} // namespace app

class TForm1 : public TTMSStylableForm {
    Q_OBJECT
public:
    explicit TForm1(QWidget *parent = nullptr);
    ~TForm1() override;

    // The components, in the form's order.
    suite::TFileAndDirIterator FileAndDirIterator1;
    TPCProgressBar *PCProgressBar1;
    TAdvPanel *ElPanel1;
    TAdvGlowButton *Button1;
    TAdvGlowButton *ButtonStop;
    TElFileNameEdit *ElFileNameEdit1;
    TElFolderNameEdit *ElFolderNameEdit1;
    TAdvSpinEdit *ElSpinEditFreqVar;
    TAdvSpinEdit *ElSpinEditPercentFail;
    TPCProgressBar *PCProgressBar2;
    TLabel *ElLabel1;
    TLabel *ElLabel2;
    TAdvOfficeCheckBox *ElCheckBox1;
    TAdvPanel *ElPanel2;
    // The results table (once a list box, whose name it keeps).
    app::TResultTable *ElListBox1;
    TAdvSplitter *ElSplitter1;
    TElMemo *ElMemo1;
    TAdvOfficeStatusBar *ElStatusBar1;
    TAdvOfficeCheckBox *ElCheckBoxThorough;
    TAdvGlowButton *ButtonHelp;
    TAdvOfficePagerOfficeStyler *AdvOfficePagerOfficeStyler1;
    TAdvPanelStyler *AdvPanelStyler1;
    TAdvOfficeStatusBarOfficeStyler *AdvOfficeStatusBarOfficeStyler1;

    // The choices beyond the two fixed tests. Each at its first value gives
    // the design run: files without a mark read as Windows-1252, no
    // extended checks, the known good text files the one reference.
    TChoiceComboBox *ElComboEncoding;
    TAdvOfficeCheckBox *ElCheckBoxExtended;
    TAdvOfficeCheckBox *ElCheckBoxLanguages;
    TAdvGlowButton *ButtonSets;
    app::TReferenceSetList *ReferenceSets;
    // Above the table: which rows it shows (a status or code, with the
    // count of each, and a text the path holds) and what its colours mean.
    QComboBox *FilterKind;
    QLineEdit *FilterPath;
    QLabel *Legend;
    // Below the text pane: why the selected entry is listed, when the
    // extended checks have more to say than its reason line.
    TExplanationPanel *Explanation;
    QScrollArea *ExplanationScroll;

    // The encoding items, in the combo's order.
    static const QStringList &EncodingItems();
    engine::TDefaultEncoding Encoding() const;

    static constexpr int kHelpContext = 5150;
    static constexpr int kHelpTopic = 5140;

    // Event handlers.
    void FormCreate();
    void FormDestroy();
    void FormActivate();
    void Button1Click();
    void ButtonStopClick();
    void ButtonHelpClick();
    void ElListBox1Click();
    void ElListBox1DblClick();
    // The controller's command message 0x401.
    void WMUser1(uint32_t wParam, uint32_t lParam);
    // The window's handle, under which other programs post to it; made
    // (and the window listening) on first use. 0 when no socket could be
    // made.
    uint32_t OwnHandle();

    // The detector's progress callbacks.
    void ShowPercent(int32_t percent);
    void ShowPercent2(int32_t percent);

    // The suspect list's commands (its context menu; Ctrl+C copies).
    QAction *ActionCopy = nullptr;
    QAction *ActionCopyAll = nullptr;
    QAction *ActionSaveList = nullptr;
    // Entry `row` as brindle-scan prints it (TSV, with the extended columns
    // after an extended run), without the line feed.
    QString EntryLine(int row) const;
    // The same with its line feed, or as a JSON line; an unreadable file as
    // path, TAB, cause.
    QByteArray EntryBytes(int row, bool json) const;
    // The selected entry's line, or every entry's, to the clipboard.
    void CopySelected();
    void CopyAll();
    // Asks for a file name, then saves the list there.
    void SaveListAsClick();
    // Writes the list to `fileName` as brindle-scan writes it for the same
    // run (JSON lines when the name ends in .jsonl, else TSV), atomically:
    // the old file stays whole on any failure, which is reported naming the
    // file and the cause. True when saved.
    bool SaveListAs(const QString &fileName);
    // The tooltip of entry `row`: its path and whole reason, wrapped.
    QString EntryToolTip(int row) const;
    // A drop of local files or folders at `pos` (in the window): files on
    // the reference field are added to it; a folder elsewhere becomes the
    // folder of data. False when nothing of the drop is taken.
    bool AcceptsDrop(const QMimeData *mime, const QPoint &pos) const;
    bool Drop(const QMimeData *mime, const QPoint &pos);

    // The detector; null outside FormCreate .. FormDestroy.
    TFileCrapDetector *Detector() const { return crap_detector.get(); }
    // True while Start is inside a run.
    bool Running() const { return fRunning; }
    // How many threads check files in a run: one per core.
    int RunJobs;
    // The text an entry shows in `width` pixels: the path, elided in the
    // middle when it is too long, so that the file's name stays visible.
    QString EntryShownText(int row, int width) const;
    // The entry whose text the text pane shows, -1 when none.
    int PaneEntry() const { return fPaneEntry; }
    // Fits the window into `available` (a screen's free area), so that Start,
    // Stop and the status bar are never off-screen.
    void FitInto(const QRect &available);
    // Opens the reference sets dialog; the sets change when it is accepted.
    void ButtonSetsClick();
    // Shows the selected entry's file in the text pane with byte `offset`
    // selected (loading the text around it when the pane holds only the
    // start of a huge file). False when there is no entry or no such file.
    bool GoToByte(int64_t offset);

protected:
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void changeEvent(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void CreateComponents();
    // Keyboard, list commands, tooltips and drops.
    void SetUpInteraction();
    // Start's work between the emptied list and the end of the run.
    void RunStart();
    // Adds the suspect files the list does not show yet, in one insertion;
    // false when there were none.
    bool ListNewEntries();
    void ListNewEntriesIfDue();
    void SetRunning(bool running);
    void ShowInfo(const QString &text);
    // The selected entry while there is a detector, else -1.
    int SelectedEntry() const;
    // The filter's choices with the count of each, kept as they were chosen.
    void UpdateFilterKinds();
    // The pane no longer shows `fPaneEntry`'s text: says so.
    void ClearPaneFor(int entry);
    void ShowError(const QString &text);
    // Gives the detector the run's extended settings and sets; false (after
    // the message) when a set cannot be used.
    bool SetUpExtendedRun(bool thorough);
    void ShowExplanation(int row);
    // Runs `load`, which fills the text pane with `name`'s text; a file that
    // cannot be read or is too large is reported. False when it failed.
    bool ShowInPane(const QString &name, const std::function<void()> &load);
    void UpdateSetsToolTip();

    std::unique_ptr<TFileCrapDetector> crap_detector;
    platform::TMessageReceiver *fReceiver = nullptr;
    bool fRunning = false;
    bool fCloseAfterRun = false;
    int64_t fLastListedMs = 0;
    int fPaneEntry = -1;
};
