// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark driver, not part of the program: opens the real main window
// offscreen, fills in its fields, presses Start and prints how long the run
// took, from the press to the end of the run.
//   window_run [-s] [-d] [-m] [-r REF...] FOLDER
//     -s  include subfolders    -d  digraph check
//     -m  also the resident memory the run added to the idle window
// Prints "<seconds> <entries listed>" on standard output (with -m then
// "<KiB added at the peak>"); the texts of the messages the run showed go
// to standard error.

#include "Dialogs.h"
#include "MainWindow.h"
#include "ResultTable.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"), 0 when not found.
long StatusKiB(const char *name) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == std::string(name) + ':' && status >> value)
            return value;
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// Starts the peak anew from the resident memory of now.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main(int argc, char **argv) {
    bool subfolders = false, digraph = false, memory = false;
    QStringList refs;
    QString folder;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "-s"))
            subfolders = true;
        else if (!std::strcmp(argv[i], "-d"))
            digraph = true;
        else if (!std::strcmp(argv[i], "-m"))
            memory = true;
        else if (!std::strcmp(argv[i], "-r") && i + 1 < argc)
            refs << QFileInfo(QFile::decodeName(argv[++i])).absoluteFilePath();
        else if (folder.isEmpty() && argv[i][0] != '-')
            folder = QFileInfo(QFile::decodeName(argv[i])).absoluteFilePath();
        else
            folder.clear(), i = argc;
    }
    if (folder.isEmpty() || (refs.isEmpty() && digraph)) {
        std::fprintf(stderr, "usage: window_run [-s] [-d] [-m] [-r REF...] FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Neither read nor write the user's own settings.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"}) {
        const QString dir = home.path() + '/' + QLatin1String(name);
        QDir().mkpath(dir);
        QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(name, QFile::encodeName(dir));
    }
    QApplication app(argc, argv);
    suite::TRecordingDialogService dialogs;
    suite::SetDialogService(&dialogs);
    int listed = 0;
    qint64 ns = 0;
    long idle = 0, peak = 0;
    {
        TForm1 form;
        form.show();
        form.ElFileNameEdit1->SetFileList(refs);
        form.ElFolderNameEdit1->SetText(folder);
        form.ElCheckBox1->setChecked(subfolders);
        form.ElCheckBoxThorough->setChecked(digraph);
        QApplication::processEvents();
        idle = StatusKiB("VmRSS");
        ResetPeak();
        QElapsedTimer timer;
        timer.start();
        form.Button1->click(); // returns when the run has ended
        ns = timer.nsecsElapsed();
        listed = form.ElListBox1->count();
        peak = StatusKiB("VmHWM");
    }
    for (const auto &s : dialogs.shown)
        std::fprintf(stderr, "window_run: message: %s\n", s.text.toLocal8Bit().constData());
    suite::SetDialogService(nullptr);
    if (memory)
        std::printf("%.6f %d %ld\n", double(ns) / 1e9, listed, std::max(0L, peak - idle));
    else
        std::printf("%.6f %d\n", double(ns) / 1e9, listed);
    return 0;
}
