// SPDX-License-Identifier: GPL-3.0-or-later
// Developer tool, not a test: runs the window over a sample folder offscreen
// and saves a picture of it, in the suite's visual style `style` (0-23;
// 14 when not given). `dark` draws it under a dark desktop palette;
// `tooltip` adds the tooltip of the last entry, with its full reason;
// `summary` leaves the end-of-run summary in the status bar; `longpaths`
// runs over a copy of the data deep in long folder names. `explain` and
// `damage` run the extended checks over a copy of the data with two more
// files (one with control bytes amid its text, one too short to judge) and
// show the explanation of the digraph suspect, or of the damaged file after
// "Go to byte N".
//   window_screenshot <sample folder> <out.png> [style]
//                     [dark|tooltip|summary|longpaths|explain|damage|sorted]
// `sorted` runs the extended checks as `explain` does and shows the table
// filtered to the suspects, sorted by score.
// The sample folder holds reference/ (known-good texts) and data/.

#include "ApplyTypeface.h"
#include "Dialogs.h"
#include "ExplanationPanel.h"
#include "IsolatedEnv.h"
#include "MainWindow.h"
#include "ResultTable.h"
#include "multi_tool_base.h"
#include "qlbuf.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHelpEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: window_screenshot <sample folder> <out.png> [style] "
                             "[dark|tooltip|summary|longpaths|explain|damage|sorted]\n");
        return 2;
    }
    const int style = argc >= 4 ? std::atoi(argv[3]) : 14;
    const QByteArray mode = argc == 5 ? QByteArray(argv[4]) : QByteArray();
    // Offscreen unless a platform is named (xcb, for pictures from a real
    // X server).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Neither read nor write the user's own settings.
    IsolatedEnv env;
    QApplication app(argc, argv);
    suite::TRecordingDialogService dialogs;
    suite::SetDialogService(&dialogs);
    if (mode == "dark") {
        // A dark desktop palette, as a dark desktop theme gives the program.
        QPalette dark;
        dark.setColor(QPalette::Window, QColor(45, 45, 48));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        dark.setColor(QPalette::AlternateBase, QColor(45, 45, 48));
        dark.setColor(QPalette::Text, QColor(230, 230, 230));
        dark.setColor(QPalette::Button, QColor(55, 55, 60));
        dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
        dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(QPalette::HighlightedText, Qt::white);
        QApplication::setPalette(dark);
    }

    const QDir sample(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    QStringList refs;
    for (const QString &name :
         QDir(sample.filePath("reference")).entryList(QDir::Files, QDir::Name))
        refs << sample.filePath("reference/" + name);

    // The suite counts its styles from 1.
    SetTMSOfficeStyleNum(style + 1);
    TForm1 form;
    form.show();
    app::ActivateMainForm(&form, nullptr, &app::ApplyTypefaceToAllForms);
    form.ElFileNameEdit1->SetFileList(refs);
    QString data = sample.filePath("data");
    QTemporaryDir copy;
    if (mode == "longpaths") {
        // The same files where an archive keeps them: deep, under long names.
        data = copy.path() + "/Regional newspapers 1890-1914, scanned and converted";
        const QString deep = data + "/Second pass by the archive team, batch 07 of 12";
        QDir().mkpath(deep);
        int i = 0;
        for (const QString &name : QDir(sample.filePath("data")).entryList(QDir::Files))
            QFile::copy(sample.filePath("data/" + name), (i++ % 2 ? deep : data) + "/" + name);
        form.ElCheckBox1->setChecked(true);
    }
    const bool extended = mode == "explain" || mode == "damage" || mode == "sorted";
    if (extended) {
        data = copy.path() + "/data";
        QDir().mkpath(data);
        for (const QString &name : QDir(sample.filePath("data")).entryList(QDir::Files))
            QFile::copy(sample.filePath("data/" + name), data + "/" + name);
        // A good letter whose middle was overwritten by stray bytes.
        QFile letter(sample.filePath("reference/letter-to-a-friend.txt"));
        letter.open(QIODevice::ReadOnly);
        QByteArray bytes = letter.readAll();
        bytes.replace(bytes.size() / 2, 6, QByteArray("\x01\x02\x1B\x90\x03\x04", 6));
        QFile damaged(data + "/overwritten-letter.txt");
        damaged.open(QIODevice::WriteOnly);
        damaged.write(bytes);
        damaged.close();
        QFile note(data + "/short-note.txt");
        note.open(QIODevice::WriteOnly);
        note.write("Back at six.\n");
        note.close();
        form.ElCheckBoxExtended->setChecked(true);
    }
    form.ElFolderNameEdit1->SetText(data);
    form.ElCheckBoxThorough->setChecked(true);
    form.Button1->click();
    if (mode == "sorted") {
        // The suspects only, highest score first.
        form.FilterKind->setCurrentIndex(
            form.FilterKind->findData(QStringLiteral("status:suspect")));
        form.ElListBox1->sortByColumn(app::TResultModel::Score, Qt::DescendingOrder);
        form.ElListBox1->setCurrentRow(form.ElListBox1->ShownEntries().value(0, -1));
        form.ElListBox1Click();
    } else if (extended) {
        // The entry to explain, found by its file's name.
        const QString wanted = mode == "explain" ? "scrambled.txt" : "overwritten-letter.txt";
        for (int i = 0; i < form.ElListBox1->count(); ++i)
            if (form.ElListBox1->Path(i).endsWith("/" + wanted)) {
                form.ElListBox1->setCurrentRow(i);
                form.ElListBox1Click();
                if (mode == "explain")
                    form.ElListBox1DblClick();
                else
                    form.Explanation->GoToByte->click();
            }
    }
    // The last entry clicked and opened, to show a reason and a text.
    const bool summary = mode == "summary" || mode == "longpaths";
    if (form.ElListBox1->count() > 0 && !summary && !extended) {
        form.ElListBox1->setCurrentRow(form.ElListBox1->count() - 1);
        form.ElListBox1Click();
        form.ElListBox1DblClick();
    }
    QApplication::processEvents();
    QImage picture = form.grab().toImage();
    if (mode == "tooltip" && form.ElListBox1->count() > 0) {
        // The tooltip is a window of its own: drawn onto the picture where
        // it would stand over the window.
        app::TResultTable *list = form.ElListBox1;
        const QRect entry = list->EntryRect(list->count() - 1);
        const QPoint at = entry.center() - QPoint(entry.width() / 3, 0);
        QHelpEvent help(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &help);
        QApplication::processEvents();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->inherits("QTipLabel") && w->isVisible()) {
                QPainter p(&picture);
                p.drawImage(w->pos() - form.pos(), w->grab().toImage());
            }
    }
    const bool ok = picture.save(QString::fromLocal8Bit(argv[2]));
    for (const auto &s : dialogs.shown)
        std::fprintf(stderr, "dialog: %s\n", s.text.toLocal8Bit().constData());
    suite::SetDialogService(nullptr);
    return ok ? 0 : 1;
}
