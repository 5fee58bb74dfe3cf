// Developer tool, not a test: runs the window over a sample folder offscreen
// and saves a picture of it, in the suite's visual style `style` (0-23;
// 14 when not given).
//   window_screenshot <sample folder> <out.png> [style]
// The sample folder holds reference/ (known-good texts) and data/.

#include "ApplyTypeface.h"
#include "IsolatedEnv.h"
#include "Dialogs.h"
#include "MainWindow.h"
#include "multi_tool_base.h"
#include "qlbuf.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: window_screenshot <sample folder> <out.png> [style]\n");
        return 2;
    }
    const int style = argc == 4 ? std::atoi(argv[3]) : 14;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Neither read nor write the user's own settings.
    IsolatedEnv env;
    QApplication app(argc, argv);
    suite::TRecordingDialogService dialogs;
    suite::SetDialogService(&dialogs);

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
    form.ElFolderNameEdit1->SetText(sample.filePath("data"));
    form.ElCheckBoxThorough->setChecked(true);
    form.Button1->click();
    // The last entry clicked and opened, to show a reason and a text.
    if (form.ElListBox1->count() > 0) {
        form.ElListBox1->setCurrentRow(form.ElListBox1->count() - 1);
        form.ElListBox1Click();
        form.ElListBox1DblClick();
    }
    QApplication::processEvents();
    const bool ok = form.grab().save(QString::fromLocal8Bit(argv[2]));
    for (const auto &s : dialogs.shown)
        std::fprintf(stderr, "dialog: %s\n", s.text.toLocal8Bit().constData());
    suite::SetDialogService(nullptr);
    return ok ? 0 : 1;
}
