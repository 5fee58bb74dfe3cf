// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's keyboard, the suspect list's commands and tooltips, and
// drag and drop: what a user expects of a desktop program beyond the form.

#include "MainWindow.h"

#include "AtomicFile.h"
#include "Dialogs.h"
#include "ExplanationPanel.h"
#include "FileNames.h"
#include "ResultTable.h"
#include "SuspectLine.h"
#include "file_crap_detector.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QShortcut>
#include <QToolButton>
#include <QToolTip>

namespace {

// Below this the panel's controls or the list would be cut off.
constexpr int kMinimumWidth = 296 + 220;
constexpr int kMinimumHeight = 420;

// The local paths of a drop, in its order.
QStringList LocalPaths(const QMimeData *mime) {
    QStringList out;
    if (!mime || !mime->hasUrls())
        return out;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            out << QDir::cleanPath(url.toLocalFile());
    return out;
}

bool IsWithin(const QWidget *w, const QWidget *ancestor) {
    for (; w; w = w->parentWidget())
        if (w == ancestor)
            return true;
    return false;
}

} // namespace

void TForm1::SetUpInteraction() {
    setMinimumSize(kMinimumWidth, kMinimumHeight);

    // Tab follows the screen: down the control panel row by row, left to
    // right (encoding, references, folder, check boxes, spin boxes, Help and
    // Stop, the sets and Start), then the results: filter, table, pane,
    // explanation.
    const QList<QWidget *> order = {ElComboEncoding,
                                    ElFileNameEdit1->Edit(),
                                    ElFileNameEdit1->BrowseButton(),
                                    ElFolderNameEdit1->Edit(),
                                    ElFolderNameEdit1->BrowseButton(),
                                    ElCheckBox1,
                                    ElCheckBoxExtended,
                                    ElCheckBoxThorough,
                                    ElCheckBoxLanguages,
                                    ElSpinEditFreqVar,
                                    ElSpinEditPercentFail,
                                    ButtonHelp,
                                    ButtonStop,
                                    ButtonSets,
                                    Button1,
                                    FilterKind,
                                    FilterPath,
                                    ElListBox1,
                                    ElMemo1,
                                    Explanation->GoToByte};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    // A typed value out of range is refused with the range, not cut short.
    const auto sayRange = [this](TAdvSpinEdit *field, const QString &name) {
        connect(field, &TAdvSpinEdit::OutOfRange, this, [this, field, name](const QString &t) {
            // Figures as the field shows them, without group separators.
            ElStatusBar1->SetSimpleText(
                QStringLiteral("%1 takes values from %2 to %3; %4 is out of range.")
                    .arg(name, QString::number(field->minimum()), QString::number(field->maximum()),
                         t));
        });
    };
    sayRange(ElSpinEditFreqVar, QStringLiteral("frequency variation (per 1000)"));
    sayRange(ElSpinEditPercentFail, QStringLiteral("percent fail allowed"));

    // Escape stops a run; outside one it does nothing.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, [this] {
        if (fRunning)
            ButtonStopClick();
    });

    ActionCopy = new QAction(QStringLiteral("&Copy"), ElListBox1);
    ActionCopy->setShortcut(QKeySequence::Copy);
    ActionCopy->setShortcutContext(Qt::WidgetShortcut);
    connect(ActionCopy, &QAction::triggered, this, &TForm1::CopySelected);
    ActionCopyAll = new QAction(QStringLiteral("Copy &all"), ElListBox1);
    connect(ActionCopyAll, &QAction::triggered, this, &TForm1::CopyAll);
    ActionSaveList = new QAction(QStringLiteral("&Save list as…"), ElListBox1);
    connect(ActionSaveList, &QAction::triggered, this, &TForm1::SaveListAsClick);
    ElListBox1->addActions({ActionCopy, ActionCopyAll, ActionSaveList});
    ElListBox1->setContextMenuPolicy(Qt::ActionsContextMenu);

    // Double-click anywhere on the list (also below the entries) and Enter
    // load the selected entry; the viewport shows the tooltips.
    ElListBox1->installEventFilter(this);
    ElListBox1->viewport()->installEventFilter(this);

    // Drops of files and folders go to the window, not as text into the
    // fields they happen to land on.
    setAcceptDrops(true);
    ElFileNameEdit1->Edit()->setAcceptDrops(false);
    ElFolderNameEdit1->Edit()->setAcceptDrops(false);
    ElMemo1->setAcceptDrops(false);
}

bool TForm1::eventFilter(QObject *watched, QEvent *e) {
    if (watched == ElListBox1 && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            ElListBox1DblClick();
            return true;
        }
    } else if (watched == ElListBox1->viewport()) {
        if (e->type() == QEvent::MouseButtonDblClick) {
            ElListBox1DblClick();
            return true;
        }
        if (e->type() == QEvent::ToolTip) {
            auto *help = static_cast<QHelpEvent *>(e);
            const int entry = ElListBox1->EntryAt(help->pos());
            if (entry >= 0)
                QToolTip::showText(help->globalPos(), EntryToolTip(entry), ElListBox1->viewport(),
                                   ElListBox1->EntryRect(entry));
            else
                QToolTip::hideText();
            return true;
        }
    }
    return TTMSStylableForm::eventFilter(watched, e);
}

QByteArray TForm1::EntryBytes(int row, bool json) const {
    if (!crap_detector || row < 0 || row >= ElListBox1->count())
        return QByteArray();
    const QString &path = crap_detector->weird_files.Strings(row);
    const TWideStringHolder &entry = *crap_detector->weird_files.Objects(row);
    // brindle-scan's own writers, with the run's choice of columns.
    const bool extended = crap_detector->extended;
    if (entry.unreadable)
        return engine::SuspectLine(path, entry.details);
    return json ? engine::JsonLine(path, entry.details, extended, entry.result)
                : engine::TsvLine(path, entry.details, extended, entry.result);
}

QString TForm1::EntryLine(int row) const {
    // Without the line feed; the clipboard takes text, so a byte that is not
    // UTF-8 stays in its \xHH escape.
    return QString::fromUtf8(EntryBytes(row, false).chopped(1));
}

QString TForm1::EntryToolTip(int row) const {
    if (!crap_detector || row < 0 || row >= ElListBox1->count())
        return QString();
    return ElListBox1->Model()->index(row, 0).data(Qt::ToolTipRole).toString();
}

void TForm1::CopySelected() {
    const int row = SelectedEntry();
    if (row >= 0)
        QApplication::clipboard()->setText(EntryLine(row));
}

void TForm1::CopyAll() {
    // The rows the table shows, in its order.
    QString text;
    for (const int i : ElListBox1->ShownEntries())
        text += EntryLine(i) + QLatin1Char('\n');
    QApplication::clipboard()->setText(text);
}

void TForm1::SaveListAsClick() {
    QFileDialog dialog(
        this, QStringLiteral("Save list as"), QString(),
        QStringLiteral("Tab-separated lists (*.tsv);;JSON lines (*.jsonl);;All files (*)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name without an extension gets the list's; the dialog asks about
    // replacing the file under that name, not the one typed.
    dialog.setDefaultSuffix(QStringLiteral("tsv"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SaveListAs(dialog.selectedFiles().first());
}

bool TForm1::SaveListAs(const QString &fileName) {
    // Exactly what brindle-scan writes on its standard output for the same
    // run: its lines in run order, JSON lines for a name ending in .jsonl.
    // A file that could not be read is the scanner's error line, not one of
    // its results, and is left out.
    const bool json = fileName.endsWith(QLatin1String(".jsonl"), Qt::CaseInsensitive);
    QByteArray bytes;
    for (int i = 0; crap_detector && i < ElListBox1->count(); ++i)
        if (!crap_detector->weird_files.Objects(i)->unreadable)
            bytes += EntryBytes(i, json);
    // Written whole or not at all: on a failure the old file stays.
    const QString cause = platform::WriteFileAtomically(fileName, bytes);
    if (!cause.isEmpty())
        suite::FormCentredMessageDlg(this, suite::Global_TimedOut,
                                     QStringLiteral("The list could not be saved to %1:\n%2")
                                         .arg(QDir::toNativeSeparators(fileName), cause),
                                     suite::TMsgDlgType::Error, suite::mbOK, 0);
    return cause.isEmpty();
}

bool TForm1::AcceptsDrop(const QMimeData *mime, const QPoint &pos) const {
    const QStringList paths = LocalPaths(mime);
    if (paths.isEmpty())
        return false;
    if (IsWithin(childAt(pos), ElFileNameEdit1)) {
        for (const QString &p : paths)
            if (QFileInfo(p).isFile())
                return true;
        return false;
    }
    for (const QString &p : paths)
        if (QFileInfo(p).isDir())
            return true;
    return false;
}

bool TForm1::Drop(const QMimeData *mime, const QPoint &pos) {
    if (!AcceptsDrop(mime, pos))
        return false;
    const QStringList paths = LocalPaths(mime);
    if (IsWithin(childAt(pos), ElFileNameEdit1)) {
        QStringList files = ElFileNameEdit1->FileList();
        for (const QString &p : paths)
            if (QFileInfo(p).isFile() && !files.contains(p))
                files << p;
        ElFileNameEdit1->SetFileList(files);
        return true;
    }
    for (const QString &p : paths)
        if (QFileInfo(p).isDir()) {
            ElFolderNameEdit1->SetText(p);
            return true;
        }
    return false;
}

void TForm1::dragEnterEvent(QDragEnterEvent *e) {
    if (AcceptsDrop(e->mimeData(), e->position().toPoint()))
        e->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent *e) {
    if (AcceptsDrop(e->mimeData(), e->position().toPoint()))
        e->acceptProposedAction();
    else
        e->ignore();
}

void TForm1::dropEvent(QDropEvent *e) {
    if (Drop(e->mimeData(), e->position().toPoint()))
        e->acceptProposedAction();
}
