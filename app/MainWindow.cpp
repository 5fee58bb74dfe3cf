// SPDX-License-Identifier: GPL-3.0-or-later
#include "MainWindow.h"

#include "ControllerMessage.h"
#include "DataFolder.h"
#include "Dialogs.h"
#include "EchoValue.h"
#include "EventPump.h"
#include "ExplanationPanel.h"
#include "FileNames.h"
#include "HelpContext.h"
#include "Mykpsmall.h"
#include "OrderedRun.h"
#include "ReadAndSaveIni.h"
#include "ReferenceSetList.h"
#include "ReferenceSetsDialog.h"
#include "ResultTable.h"
#include "RunError.h"
#include "RunSetup.h"
#include "RunSummary.h"
#include "StatusColours.h"
#include "SuiteHooks.h"
#include "TextFile.h"
#include "TextPaneLoader.h"
#include "Tool_imagelist.h"
#include "file_crap_detector.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Sizes at 96 dots per inch.
constexpr int kClientWidth = 742;
constexpr int kClientHeight = 450;
constexpr int kStatusHeight = 19;
constexpr int kBarHeight = 17;
constexpr int kPanelWidth = 296;
constexpr int kListHeight = 187;
// New rows are added to the table at most this often (the first at once):
// often enough to look live, seldom enough that a run with many suspects
// does not pay for an insertion and a repaint each.
constexpr int64_t kListIntervalMs = app::kPumpIntervalMs;
// What the explanation below the text pane takes when it first shows.
constexpr int kExplanationHeight = 160;

// Keeps a control's given size unless its text needs more room in the
// typeface that stands in for the design one.
void Place(QWidget *w, int x, int y, int width, int height) {
    w->setGeometry(x, y, std::max(width, w->sizeHint().width()), height);
}

} // namespace

TForm1::TForm1(QWidget *parent) : TTMSStylableForm(parent), RunJobs(engine::DefaultJobs()) {
    CreateComponents();
    FormCreate();
}

TForm1::~TForm1() {
    FormDestroy();
}

void TForm1::CreateComponents() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Brindle"));
    SetHelpContext(this, kHelpContext);
    InstallF1Help(this);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    setFont(font);
    resize(kClientWidth, kClientHeight);

    auto named = [](auto *w, const char *name) {
        w->setObjectName(QLatin1String(name));
        return w;
    };

    PCProgressBar1 = named(new TPCProgressBar(Qt::Horizontal, this), "PCProgressBar1");
    PCProgressBar1->SetRangePos(2, 50);

    ElPanel1 = named(new TAdvPanel(this), "ElPanel1");
    ElPanel1->GradientFrom = Qt::white;
    ElPanel1->GradientTo = QColor(242, 240, 227);
    ElPanel1->Border = true;
    ElPanel1->setGeometry(kClientWidth - kPanelWidth, 0, kPanelWidth, 414);

    Button1 = named(new TAdvGlowButton(QStringLiteral("&Start"), ElPanel1), "Button1");
    Button1->ImageIndex = 1;
    ButtonStop = named(new TAdvGlowButton(QStringLiteral("St&op"), ElPanel1), "ButtonStop");
    ButtonStop->ImageIndex = kImageListMainStop;
    // Stop acts only during a run (see SetRunning).
    ButtonStop->setEnabled(false);
    ElFileNameEdit1 = named(new TElFileNameEdit(ElPanel1), "ElFileNameEdit1");
    ElFileNameEdit1->Options = TElFileNameEdit::ofHideReadOnly |
                               TElFileNameEdit::ofAllowMultiSelect |
                               TElFileNameEdit::ofFileMustExist | TElFileNameEdit::ofEnableSizing;
    ElFileNameEdit1->DialogTitle = QStringLiteral("Select one or more");
    ElFolderNameEdit1 = named(new TElFolderNameEdit(ElPanel1), "ElFolderNameEdit1");
    ElSpinEditFreqVar = named(new TAdvSpinEdit(ElPanel1), "ElSpinEditFreqVar");
    ElSpinEditFreqVar->SetLimits(true, 0, true, 1000);
    ElSpinEditFreqVar->SetValue(engine::kDefaultFreqVariationPerMille);
    ElSpinEditPercentFail = named(new TAdvSpinEdit(ElPanel1), "ElSpinEditPercentFail");
    ElSpinEditPercentFail->SetLimits(true, 0, false, 0);
    ElSpinEditPercentFail->SetValue(engine::kDesignPercentFailAllowed);
    PCProgressBar2 = named(new TPCProgressBar(Qt::Vertical, ElPanel1), "PCProgressBar2");
    PCProgressBar2->SetRangePos(2, 50);
    // Each caption's underlined letter (Alt+letter) reaches its field.
    ElLabel1 = named(new TLabel(QStringLiteral("&Known good text files"), ElPanel1), "ElLabel1");
    ElLabel1->SetFocusControl(ElFileNameEdit1);
    ElLabel2 = named(new TLabel(QStringLiteral("&Folder of data"), ElPanel1), "ElLabel2");
    ElLabel2->SetFocusControl(ElFolderNameEdit1);
    ElCheckBox1 = named(new TAdvOfficeCheckBox(QStringLiteral("include su&bfolders"), ElPanel1),
                        "ElCheckBox1");
    ElCheckBox1->SetCaptionOnLeft();
    // The spin edits' own labels; unnamed, so the settings pass them by.
    auto *freqLabel = new QLabel(QStringLiteral("fre&quency variation (per 1000)"), ElPanel1);
    freqLabel->setBuddy(ElSpinEditFreqVar);
    auto *failLabel = new QLabel(QStringLiteral("&percent fail allowed"), ElPanel1);
    failLabel->setBuddy(ElSpinEditPercentFail);

    ElPanel2 = named(new TAdvPanel(this), "ElPanel2");
    ElPanel2->setGeometry(0, 0, kClientWidth - kPanelWidth, 414);
    auto *resultLayout = new QVBoxLayout(ElPanel2);
    resultLayout->setContentsMargins(0, 0, 0, 0);
    ElSplitter1 = named(new TAdvSplitter(Qt::Vertical, ElPanel2), "ElSplitter1");
    resultLayout->addWidget(ElSplitter1);
    // The table with its filter and legend above it, in the splitter's
    // first pane. The detector is made before the table, which shows its
    // entries.
    crap_detector = std::make_unique<TFileCrapDetector>();
    auto *results = new QWidget(ElSplitter1);
    auto *resultsLayout = new QVBoxLayout(results);
    resultsLayout->setContentsMargins(0, 0, 0, 0);
    resultsLayout->setSpacing(1);
    auto *filterRow = new QHBoxLayout;
    filterRow->setContentsMargins(2, 1, 2, 0);
    FilterKind = new QComboBox(results);
    FilterKind->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    FilterKind->setToolTip(QStringLiteral("Show the rows of one status or one test or code; "
                                          "each with its number of rows."));
    FilterPath = new QLineEdit(results);
    FilterPath->setPlaceholderText(QStringLiteral("filter paths"));
    FilterPath->setClearButtonEnabled(true);
    FilterPath->setToolTip(QStringLiteral("Show only the rows whose path holds this text."));
    auto *filterLabel = new QLabel(QStringLiteral("Sho&w"), results);
    filterLabel->setBuddy(FilterKind);
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(FilterKind);
    filterRow->addWidget(FilterPath, 1);
    resultsLayout->addLayout(filterRow);
    Legend = new QLabel(results);
    Legend->setTextFormat(Qt::RichText);
    Legend->setContentsMargins(2, 0, 2, 0);
    Legend->setToolTip(QStringLiteral("What the rows' colours mean"));
    resultsLayout->addWidget(Legend);
    ElListBox1 = named(new app::TResultTable(crap_detector->weird_files, results), "ElListBox1");
    resultsLayout->addWidget(ElListBox1, 1);
    ElMemo1 = named(new TElMemo(ElSplitter1), "ElMemo1");
    ElMemo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ElMemo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ElMemo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on, as everywhere else in the window.
    ElMemo1->setTabChangesFocus(true);
    ElMemo1->SetText(QStringLiteral("ElMemo1"));
    ElSplitter1->addWidget(results);
    ElSplitter1->addWidget(ElMemo1);
    ElSplitter1->setSizes({kListHeight, 414 - kListHeight - 10});
    // Scrolled when the chart needs more room than the splitter leaves it.
    ExplanationScroll = new QScrollArea(ElSplitter1);
    ExplanationScroll->setWidgetResizable(true);
    ExplanationScroll->setFrameShape(QFrame::NoFrame);
    ExplanationScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Explanation = new TExplanationPanel;
    ExplanationScroll->setWidget(Explanation);
    ElSplitter1->addWidget(ExplanationScroll);
    ExplanationScroll->hide();
    Explanation->Clear();
    connect(Explanation, &TExplanationPanel::GoToByteClicked, this,
            [this](qint64 offset) { GoToByte(offset); });

    ElStatusBar1 = named(new TAdvOfficeStatusBar(this), "ElStatusBar1");
    ElStatusBar1->PanelWidths = {80, 100, 130, 50};

    ElCheckBoxThorough = named(new TAdvOfficeCheckBox(QStringLiteral("&digraph check"), ElPanel1),
                               "ElCheckBoxThorough");
    ElCheckBoxThorough->SetCaptionOnLeft();
    ButtonHelp = named(new TAdvGlowButton(QStringLiteral("&Help"), ElPanel1), "ButtonHelp");
    ButtonHelp->ImageIndex = 0;

    // The choices the extended checks brought, after the design controls
    // so that their sections follow those in the settings file.
    ElComboEncoding = named(new TChoiceComboBox(EncodingItems(), ElPanel1), "ElComboEncoding");
    ElComboEncoding->setToolTip(
        QStringLiteral("How files without a byte-order mark are read, in the checks and in "
                       "the text pane. Automatic reads a file that is valid UTF-8 as UTF-8."));
    auto *encodingLabel = new QLabel(QStringLiteral("text &encoding"), ElPanel1);
    encodingLabel->setBuddy(ElComboEncoding);
    ElCheckBoxExtended = named(new TAdvOfficeCheckBox(QStringLiteral("e&xtended checks"), ElPanel1),
                               "ElCheckBoxExtended");
    ElCheckBoxExtended->SetCaptionOnLeft();
    ElCheckBoxExtended->setToolTip(
        QStringLiteral("Also look for damage (NULs, control bytes, mojibake, markup, word lists, "
                       "...), set aside files too short to judge, and judge letter pairs against "
                       "the closest reference set with a score."));
    ElCheckBoxLanguages =
        named(new TAdvOfficeCheckBox(QStringLiteral("built-in &languages"), ElPanel1),
              "ElCheckBoxLanguages");
    ElCheckBoxLanguages->SetCaptionOnLeft();
    ElCheckBoxLanguages->setToolTip(
        QStringLiteral("Under the extended checks, also judge against the shipped sets for "
                       "English, German, French, Spanish and Italian."));
    ButtonSets =
        named(new TAdvGlowButton(QStringLiteral("&Reference sets…"), ElPanel1), "ButtonSets");
    ReferenceSets = named(new app::TReferenceSetList(this), "ReferenceSets");
    connect(ReferenceSets, &app::TReferenceSetList::Changed, this, &TForm1::UpdateSetsToolTip);
    UpdateSetsToolTip();

    AdvOfficePagerOfficeStyler1 =
        named(new TAdvOfficePagerOfficeStyler(this), "AdvOfficePagerOfficeStyler1");
    AdvPanelStyler1 = named(new TAdvPanelStyler(this), "AdvPanelStyler1");
    AdvOfficeStatusBarOfficeStyler1 =
        named(new TAdvOfficeStatusBarOfficeStyler(this), "AdvOfficeStatusBarOfficeStyler1");

    PCProgressBar2->setGeometry(1, 1, 15, 412);
    Place(ElLabel1, 42, 49, 0, 13);
    ElFileNameEdit1->setGeometry(42, 62, 233, 21);
    Place(ElLabel2, 42, 90, 0, 13);
    ElFolderNameEdit1->setGeometry(42, 103, 233, 21);
    Place(ElCheckBox1, 42, 144, 108, 17);
    Place(ElCheckBoxThorough, 42, 167, 88, 17);
    Place(freqLabel, 42, 205, 0, 14);
    ElSpinEditFreqVar->setGeometry(42, 221, 233, 22);
    Place(failLabel, 42, 244, 0, 14);
    ElSpinEditPercentFail->setGeometry(42, 260, 233, 22);
    ButtonHelp->setGeometry(42, 305, 75, 25);
    ButtonStop->setGeometry(173, 305, 75, 25);
    Button1->setGeometry(173, 344, 75, 25);
    // The new choices fill room the design left free: the encoding above
    // the references, the two check boxes beside the design ones, the sets
    // beside Start.
    Place(encodingLabel, 42, 17, 0, 14);
    ElComboEncoding->setGeometry(135, 13, 140, 22);
    Place(ElCheckBoxExtended, 165, 144, 95, 17);
    Place(ElCheckBoxLanguages, 165, 167, 95, 17);
    ButtonSets->setGeometry(42, 344, 110, 25);
    for (QWidget *w :
         {static_cast<QWidget *>(Button1), static_cast<QWidget *>(ButtonStop),
          static_cast<QWidget *>(ButtonHelp), static_cast<QWidget *>(ElFileNameEdit1),
          static_cast<QWidget *>(ElFolderNameEdit1), static_cast<QWidget *>(ElSpinEditFreqVar),
          static_cast<QWidget *>(ElSpinEditPercentFail), static_cast<QWidget *>(ElComboEncoding)})
        ElPanel1->SetAnchoredRight(w);

    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(ButtonStop, &QPushButton::clicked, this, &TForm1::ButtonStopClick);
    connect(ButtonHelp, &QPushButton::clicked, this, &TForm1::ButtonHelpClick);
    connect(ButtonSets, &QPushButton::clicked, this, &TForm1::ButtonSetsClick);
    // The sets are a choice of the extended checks only.
    const auto followExtended = [this] {
        const bool on = ElCheckBoxExtended->isChecked();
        ElCheckBoxLanguages->setEnabled(on);
        ButtonSets->setEnabled(on);
    };
    connect(ElCheckBoxExtended, &QAbstractButton::toggled, this, followExtended);
    followExtended();
    connect(ElListBox1, &QAbstractItemView::clicked, this, &TForm1::ElListBox1Click);
    connect(ElListBox1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &TForm1::ElListBox1Click);
    connect(FilterKind, &QComboBox::currentIndexChanged, this,
            [this] { ElListBox1->Filter()->SetKind(FilterKind->currentData().toString()); });
    connect(FilterPath, &QLineEdit::textChanged, this,
            [this](const QString &t) { ElListBox1->Filter()->SetPathText(t); });
    connect(ElListBox1->Model(), &app::TResultModel::CountsChanged, this,
            &TForm1::UpdateFilterKinds);
    UpdateFilterKinds();
    Legend->setText(app::LegendHtml(ElListBox1->palette()));
    SetUpInteraction();
}

void TForm1::resizeEvent(QResizeEvent *e) {
    const int w = width(), h = height();
    const int above = h - kStatusHeight - kBarHeight;
    ElStatusBar1->setGeometry(0, h - kStatusHeight, w, kStatusHeight);
    PCProgressBar1->setGeometry(0, above, w, kBarHeight);
    ElPanel1->setGeometry(w - kPanelWidth, 0, kPanelWidth, above);
    ElPanel2->setGeometry(0, 0, w - kPanelWidth, above);
    // The bar within the text runs down the panel's whole height.
    PCProgressBar2->setGeometry(1, 1, 15, std::max(0, above - 2));
    TTMSStylableForm::resizeEvent(e);
}

void TForm1::changeEvent(QEvent *e) {
    // The legend shows the colours the table draws with this palette.
    if (e->type() == QEvent::PaletteChange && Legend)
        Legend->setText(app::LegendHtml(palette()));
    TTMSStylableForm::changeEvent(e);
}

void TForm1::FormCreate() {
    app::StoreOwnHandleStep(this);
    app::StartToolStep();
    app::NotifyShellStep(suite::kNoteWindowCreated);
    app::AssignButtonImagesStep(this);
    app::SetUpToolWindowStep(this);
    ElMemo1->ClearLines();
    app::save_memos = false;
    app::LoadFormSettings(this, app::SettingsFileName());
    PCProgressBar1->SetRangePos(2, 0);
    crap_detector->SetOnListed([this](int) { ListNewEntriesIfDue(); });
    app::HookActivationStep(this);
    // The first size, also one the settings restored, fits the screen: at a
    // large scale the design size may not.
    if (QScreen *s = screen())
        FitInto(s->availableGeometry());
    // Bound now rather than at the first Start, so that a word-list load the
    // controller asks for before any run lets events through as well.
    AYieldProcessProc = {&app::ThrottledPump, this};
}

void TForm1::FormDestroy() {
    // Nothing reads the holders once the detector is gone; the table lets
    // go of them first so that no repaint could.
    ElListBox1->Model()->Clear();
    crap_detector.reset();
    if (AYieldProcessProc.object == this)
        AYieldProcessProc = {};
    app::LogToolClosingStep();
    app::NotifyShellStep(suite::kNoteWindowGoing);
    app::SaveFormSettings(this, app::SettingsFileName());
}

void TForm1::FormActivate() {
    app::ActivateMainFormStep(this);
}

void TForm1::WMUser1(uint32_t wParam, uint32_t lParam) {
    app::ControllerMessageStep(this, wParam, lParam);
}

uint32_t TForm1::OwnHandle() {
    if (!fReceiver)
        fReceiver = new platform::TMessageReceiver(
            [this](const platform::TMessage &m) {
                if (m.message == platform::WM_USER + 1)
                    WMUser1(m.wParam, m.lParam);
            },
            this);
    if (!fReceiver->Open())
        app::ReportNoMailbox(fReceiver->ErrorString());
    return fReceiver->handle();
}

void TForm1::closeEvent(QCloseEvent *e) {
    if (fRunning) {
        // The detector must outlive its run: stop it, close afterwards.
        fCloseAfterRun = true;
        if (crap_detector)
            crap_detector->processing = false;
        e->ignore();
        return;
    }
    TTMSStylableForm::closeEvent(e);
}

void TForm1::Button1Click() {
    // The progress callbacks let clicks through; a nested run would empty
    // the list the outer run reads.
    if (fRunning || !crap_detector)
        return;
    SetRunning(true);
    ElListBox1->Model()->Clear();
    ElListBox1->ShowColumnsFor(ElCheckBoxExtended->isChecked());
    // Neither the last entry's reason nor the last file's text belongs to
    // the new list.
    ElStatusBar1->SetSimpleText(QString());
    ClearPaneFor(-1);
    Explanation->Clear();
    ExplanationScroll->hide();
    PCProgressBar1->SetRangePos(2, 0);
    PCProgressBar2->SetRangePos(2, 0);
    RunStart();
    SetRunning(false);
    if (fCloseAfterRun)
        QTimer::singleShot(0, this, [this] { close(); });
}

void TForm1::SetRunning(bool running) {
    fRunning = running;
    // Each button only when it can act; the keyboard focus stays on one.
    const bool stopHadFocus = ButtonStop->hasFocus();
    const bool startHadFocus = Button1->hasFocus();
    Button1->setEnabled(!running);
    ButtonStop->setEnabled(running);
    if (running && startHadFocus)
        ButtonStop->setFocus();
    else if (!running && stopHadFocus)
        Button1->setFocus();
}

void TForm1::RunStart() {
    // Only a run that took place may add to the list or speak of its result:
    // a failure before it leaves the list as Start emptied it.
    bool running = false;
    const bool thorough = ElCheckBoxThorough->isChecked();
    const bool extended = ElCheckBoxExtended->isChecked();
    // The sets stand in for the known good text files only under the
    // extended checks.
    const bool otherSets =
        extended && (!ReferenceSets->Sets().isEmpty() || ElCheckBoxLanguages->isChecked());
    QElapsedTimer timer;
    timer.start();
    QString folder;
    try {
        // Before the reference is built: it is read as the files are.
        crap_detector->default_encoding = Encoding();
        crap_detector->extended = extended;
        crap_detector->reference_sets.reset();
        if (!ElFileNameEdit1->FileList().isEmpty()) {
            crap_detector->SetReferenceFileList(ElFileNameEdit1->FileList());
            // An unusable reference has been reported; there is no run to speak of.
            if (!crap_detector->reference_setup)
                return;
        } else if (thorough && !otherSets) {
            // The size test alone needs no reference; the digraph check does.
            ShowError(QStringLiteral(
                "The digraph check needs known good text files: name one or more under \"Known "
                "good text files\", or tick \"extended checks\" and \"built-in languages\" to "
                "judge against the shipped language sets (or name your own under \"Reference "
                "sets…\"), or turn the digraph check off to run the size test alone."));
            return;
        }
        if (!SetUpExtendedRun(thorough))
            return;
        crap_detector->digraph_frequency_variation_per_mille = ElSpinEditFreqVar->Value();
        crap_detector->digraph_percent_fail_allowed = ElSpinEditPercentFail->Value();
        folder = app::AbsoluteDataFolder(ElFolderNameEdit1->Text());
        if (folder.isEmpty()) {
            ShowError(QStringLiteral("No folder of data is given."));
            return;
        }
        if (const QString cause = app::FolderProblem(folder); !cause.isEmpty()) {
            ShowError(QStringLiteral("The folder of data %1 could not be read:\n%2")
                          .arg(QDir::toNativeSeparators(folder), cause));
            return;
        }
        const auto onPercent = [this](int32_t p) { ShowPercent(p); };
        const auto onPercent2 = [this](int32_t p) { ShowPercent2(p); };
        running = true;
        // One path for any number of jobs: the walk runs ahead of the
        // checks, which run beside this thread.
        crap_detector->CheckFolder(folder, ElCheckBox1->isChecked(), thorough, onPercent,
                                   onPercent2, RunJobs);
    } catch (const suite::TRunError &e) {
        // Files that cannot be read are listed by the run; what is left is
        // the known good texts.
        ShowError(QStringLiteral("The known good text %1 cannot be used:\n%2")
                      .arg(QDir::toNativeSeparators(e.path()), e.cause()));
        return;
    } catch (const std::exception &e) {
        if (running)
            ListNewEntries();
        ShowError(QStringLiteral("The run stopped: %1").arg(QString::fromLocal8Bit(e.what())));
        return;
    }
    ListNewEntries();
    const TFileCrapDetector::TRunCounts &counts = crap_detector->LastRun();
    ElStatusBar1->SetSimpleText(
        app::RunSummary(counts, thorough,
                        counts.finished ? app::TRunEnd::Finished : app::TRunEnd::Stopped,
                        timer.elapsed(), extended) +
        app::CodeCountsNote(ElListBox1->Model()->CodeCounts()));
    const auto &unreadable = crap_detector->UnreadableFolders();
    if (!unreadable.empty()) {
        // Saying that nothing was found would claim files that were never read.
        QStringList shown;
        for (const auto &f : unreadable)
            shown << QDir::toNativeSeparators(suite::DisplayFileName(f.path)) +
                         QStringLiteral(": ") + f.cause;
        ShowError(QStringLiteral("These folders could not be read; their files were not "
                                 "checked:\n%1")
                      .arg(shown.join(QLatin1Char('\n'))));
    } else if (counts.files == 0) {
        // Nothing checked is no success to report.
        ShowInfo(app::NoFilesToCheck(folder, ElCheckBox1->isChecked()));
    } else if (counts.unreadable > 0 &&
               counts.size_suspects + counts.digraph_suspects + counts.damage_suspects == 0) {
        // Nor is a file that could not be read.
        ShowError(app::UnreadableFilesNote(counts.unreadable));
    } else if (crap_detector->weird_files.Count() == 0) {
        suite::NoCorruptFilesFound(this);
    }
}

void TForm1::ListNewEntriesIfDue() {
    // The first suspect file of a run shows as soon as it is found; the rest
    // follow in batches at most every few milliseconds, so that a run with
    // thousands of them does not pay for a list insertion each.
    const int64_t now = app::CoarseNowMs();
    if (ElListBox1->count() == 0 || now - fLastListedMs >= kListIntervalMs) {
        if (ListNewEntries())
            fLastListedMs = now;
    }
}

bool TForm1::ListNewEntries() {
    return crap_detector && ElListBox1->Model()->Sync();
}

void TForm1::ShowPercent(int32_t percent) {
    PCProgressBar1->SetRangePos(2, percent);
    if (!crap_detector)
        return;
    if (fCloseAfterRun)
        crap_detector->processing = false;
    ListNewEntriesIfDue();
    app::PumpEventsIfDue();
}

void TForm1::ShowPercent2(int32_t percent) {
    if (percent != PCProgressBar2->Position())
        PCProgressBar2->SetRangePos(2, percent);
    app::PumpEventsIfDue();
}

void TForm1::ButtonStopClick() {
    if (crap_detector)
        crap_detector->processing = false;
}

void TForm1::ButtonHelpClick() {
    app::HandleAHelpFileChoiceStep(kHelpTopic);
}

int TForm1::SelectedEntry() const {
    if (!crap_detector)
        return -1;
    const int row = ElListBox1->currentRow();
    return row >= 0 && row < crap_detector->weird_files.Count() && ElListBox1->IsSelected(row) ? row
                                                                                               : -1;
}

void TForm1::ElListBox1Click() {
    const int row = SelectedEntry();
    if (row < 0)
        return;
    ElStatusBar1->SetSimpleText(crap_detector->weird_files.Objects(row)->data());
    ShowExplanation(row);
    // The text pane shows the selected file's text or nothing.
    if (row != fPaneEntry)
        ClearPaneFor(row);
}

void TForm1::ClearPaneFor(int entry) {
    fPaneEntry = -1;
    ElMemo1->ClearLines();
    ElMemo1->setPlaceholderText(
        entry < 0 ? QString()
                  : QStringLiteral("Double-click %1 or press Enter to show its text here.")
                        .arg(QDir::toNativeSeparators(
                            suite::DisplayFileName(crap_detector->weird_files.Strings(entry)))));
}

void TForm1::UpdateFilterKinds() {
    // The choice stays what it was, also while its count changes.
    const QString chosen = FilterKind->currentData().toString();
    const app::TResultModel &model = *ElListBox1->Model();
    const QLocale locale;
    const auto item = [&](const QString &name, int n) {
        return QStringLiteral("%1 (%2)").arg(name, locale.toString(n));
    };
    QList<std::pair<QString, QString>> items{{item(QStringLiteral("all"), model.rowCount()), {}}};
    const int suspects = model.rowCount() - model.StatusCount(app::TRowStatus::TooShort) -
                         model.StatusCount(app::TRowStatus::Unreadable);
    if (suspects != model.rowCount() || model.CodeCounts().size() > 1)
        items.append({item(QStringLiteral("suspect"), suspects), QStringLiteral("status:suspect")});
    for (auto it = model.CodeCounts().begin(); it != model.CodeCounts().end(); ++it)
        items.append({item(it.key(), it.value()), QStringLiteral("code:") + it.key()});
    if (!chosen.isEmpty() &&
        std::none_of(items.begin(), items.end(), [&](const auto &i) { return i.second == chosen; }))
        items.append({item(chosen.mid(chosen.indexOf(QLatin1Char(':')) + 1), 0), chosen});
    const QSignalBlocker block(FilterKind);
    FilterKind->clear();
    for (const auto &[text, kind] : items)
        FilterKind->addItem(text, kind);
    FilterKind->setCurrentIndex(std::max(0, FilterKind->findData(chosen)));
}

void TForm1::ShowExplanation(int row) {
    const bool wasShown = ExplanationScroll->isVisible();
    const TWideStringHolder *entry = crap_detector->weird_files.Objects(row);
    Explanation->Show(entry->details, entry->TooShort());
    const bool explains = !entry->unreadable && !Explanation->isHidden();
    ExplanationScroll->setVisible(explains);
    if (!explains)
        return;
    // Which file is explained, above why.
    Explanation->Heading->setText(
        QDir::toNativeSeparators(suite::DisplayFileName(crap_detector->weird_files.Strings(row))) +
        QLatin1Char('\n') + Explanation->Heading->text());
    // Never squeezed below what it shows: the scroll area scrolls instead.
    Explanation->setMinimumHeight(Explanation->sizeHint().height());
    if (!wasShown) {
        // The room comes from the list and the text pane alike, each
        // keeping enough for a few lines.
        QList<int> sizes = ElSplitter1->sizes();
        if (sizes.size() == 3 && sizes[2] < kExplanationHeight / 2) {
            const int fromList = std::clamp(sizes[0] - 60, 0, kExplanationHeight / 2);
            const int fromPane = std::clamp(sizes[1] - 60, 0, kExplanationHeight - fromList);
            sizes[0] -= fromList;
            sizes[1] -= fromPane;
            sizes[2] = fromList + fromPane;
            ElSplitter1->setSizes(sizes);
        }
    }
}

void TForm1::ElListBox1DblClick() {
    const int row = SelectedEntry();
    if (row < 0)
        return;
    ClearPaneFor(row);
    if (crap_detector->weird_files.Objects(row)->unreadable)
        return;
    const QString name = crap_detector->weird_files.Strings(row);
    if (ShowInPane(name, [&] {
            // A huge file shows its start only, with a note, never all of it.
            const app::TPaneText pane = app::LoadPaneText(name, app::kPaneTextLimit, Encoding());
            ElMemo1->SetLinesText(pane.cut ? pane.text + app::PaneCutNote(app::kPaneTextLimit)
                                           : pane.text);
        }))
        fPaneEntry = row;
}

bool TForm1::ShowInPane(const QString &name, const std::function<void()> &load) {
    try {
        load();
        return true;
    } catch (const suite::TRunError &e) {
        ShowError(QStringLiteral("%1 cannot be shown:\n%2")
                      .arg(QDir::toNativeSeparators(e.path()), e.cause()));
    } catch (const std::bad_alloc &) {
        ShowError(QStringLiteral("%1 cannot be shown:\nit is too large")
                      .arg(QDir::toNativeSeparators(name)));
    }
    return false;
}

QString TForm1::EntryShownText(int row, int width) const {
    return ElListBox1->ShownText(row, width);
}

void TForm1::FitInto(const QRect &available) {
    if (available.isEmpty())
        return;
    // The frame (title bar, borders) comes on top of the client area; before
    // the window is shown it is not known, so room is left for a usual one.
    const QSize frame = isVisible() ? frameGeometry().size() - size() : QSize(16, 40);
    const QSize room = available.size() - frame;
    setMinimumSize(minimumSize().boundedTo(room));
    resize(size().boundedTo(room));
    QRect placed = frameGeometry();
    placed.setSize(size() + frame);
    if (!available.contains(placed)) {
        placed.moveLeft(
            std::clamp(placed.left(), available.left(), available.right() + 1 - placed.width()));
        placed.moveTop(
            std::clamp(placed.top(), available.top(), available.bottom() + 1 - placed.height()));
        move(placed.topLeft());
    }
}

void TForm1::ShowError(const QString &text) {
    suite::FormCentredMessageDlg(this, suite::Global_TimedOut, text, suite::TMsgDlgType::Error,
                                 suite::mbOK, 0);
}

void TForm1::ShowInfo(const QString &text) {
    suite::FormCentredMessageDlg(this, suite::Global_TimedOut, text,
                                 suite::TMsgDlgType::Information, suite::mbOK, 0);
}

const QStringList &TForm1::EncodingItems() {
    static const QStringList items{QStringLiteral("Windows-1252"), QStringLiteral("UTF-8"),
                                   QStringLiteral("Automatic")};
    return items;
}

engine::TDefaultEncoding TForm1::Encoding() const {
    switch (ElComboEncoding->currentIndex()) {
    case 1:
        return engine::TDefaultEncoding::Utf8;
    case 2:
        return engine::TDefaultEncoding::Automatic;
    default:
        return engine::TDefaultEncoding::Windows1252;
    }
}

bool TForm1::SetUpExtendedRun(bool thorough) {
    if (!crap_detector->extended || !thorough)
        return true;
    // The same run setup as brindle-scan's: the known good texts are read
    // as its -r texts are, and the sets obey the same rules.
    engine::TRunRequest request;
    request.references = ElFileNameEdit1->FileList();
    for (const app::TNamedSet &named : ReferenceSets->Sets())
        request.named.append({named.name, named.files});
    if (ElCheckBoxLanguages->isChecked())
        request.languages = QStringList{QStringLiteral("auto")};
    request.settings =
        engine::MakeCheckSettings(thorough, crap_detector->min_digraphs, ElSpinEditFreqVar->Value(),
                                  ElSpinEditPercentFail->Value(), crap_detector->default_encoding);
    request.settings.extended = true;
    engine::TRunSetup setup;
    const std::optional<engine::TReferenceError> error = engine::BuildRunSetup(request, setup);
    if (error)
        ShowError(QStringLiteral("The reference set \"%1\" cannot be used: %2:\n%3")
                      .arg(suite::EchoValue(setup.failed_set),
                           QDir::toNativeSeparators(error->path), error->cause));
    else
        crap_detector->reference_sets = setup.sets;
    return !error;
}

void TForm1::ButtonSetsClick() {
    TReferenceSetsDialog dialog(ReferenceSets->Sets(), this);
    if (dialog.exec() == QDialog::Accepted)
        ReferenceSets->SetSets(dialog.Sets());
}

void TForm1::UpdateSetsToolTip() {
    const QString sets = ReferenceSets->Summary();
    ButtonSets->setToolTip(
        QStringLiteral("Named reference sets for the extended checks, beside the known good text "
                       "files: %1.")
            .arg(sets.isEmpty() ? QStringLiteral("none yet") : sets));
}

bool TForm1::GoToByte(int64_t offset) {
    const int row = SelectedEntry();
    if (row < 0 || offset < 0)
        return false;
    const QString name = crap_detector->weird_files.Strings(row);
    fPaneEntry = -1;
    return ShowInPane(name, [&] {
        fPaneEntry = row;
        const app::TPaneTextAt at = app::LoadPaneTextAt(name, offset, Encoding());
        QString text = at.pane.text;
        qsizetype line = at.place.line;
        if (at.around) {
            text = app::PaneAroundNote(at.firstByte) + QStringLiteral("\r\n") + text;
            ++line;
        } else if (at.pane.cut) {
            text += app::PaneCutNote(app::kPaneTextLimit);
        }
        ElMemo1->SetLinesText(text);
        QTextDocument *doc = ElMemo1->document();
        QTextBlock block = doc->findBlockByNumber(int(std::min<qsizetype>(line, INT_MAX)));
        if (!block.isValid())
            block = doc->lastBlock();
        const int column = int(std::min<qsizetype>(at.place.column, block.length() - 1));
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + column);
        // The damaged character itself is selected, where there is one.
        if (column < block.length() - 1)
            cursor.movePosition(QTextCursor::Right, QTextCursor::KeepAnchor);
        ElMemo1->setTextCursor(cursor);
        ElMemo1->centerCursor();
        ElMemo1->setFocus();
    });
}
