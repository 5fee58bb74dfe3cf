// SPDX-License-Identifier: GPL-3.0-or-later
// Brindle: finds corrupt files in a text corpus. Its only command-line
// options are --help and --version, which print and exit before any window
// or suite service starts; Qt's own options pass through.

#include "HelpViewer.h"
#include "MainWindow.h"
#include "MessageBoxDialogService.h"
#include "My_types.h"
#include "UnitLifecycle.h"
#include "tool_data_module.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

const char kUsage[] = "Usage: brindle [--help | --version]\n"
                      "Finds corrupt files in a folder of plain-text files.\n"
                      "\n"
                      "Opens the Brindle window: name one or more known-good text files and a\n"
                      "folder of data, choose whether subfolders are searched and whether the\n"
                      "digraph check runs, and press Start. Each suspect file is listed with its\n"
                      "reason. For the same check from a terminal, see brindle-scan --help.\n"
                      "\n"
                      "  --help     print this help and exit\n"
                      "  --version  print the version and exit\n";

} // namespace

int main(int argc, char *argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(kUsage, stdout);
            // Where the manual is, for a user looking for it (the lookup
            // needs the program's own folder, hence the application object).
            const QCoreApplication probe(argc, argv);
            std::printf(
                "\nHelp page: %s\n",
                QDir::toNativeSeparators(HelpPageOf(TForm1::kHelpTopic)).toLocal8Bit().constData());
            return 0;
        }
        if (!std::strcmp(argv[i], "--version")) {
            std::puts("brindle " BRINDLE_VERSION);
            return 0;
        }
    }
    app::StartUpUnits();
    int rc = 0;
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(Tool_Name(kBrindleTool));
        // The installed desktop entry and its icon (from the icon theme;
        // none when run from a build tree).
        QGuiApplication::setDesktopFileName(QStringLiteral("org.quillon.Brindle"));
        QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.quillon.Brindle")));
        // Desktops match the window to its menu entry and icon by this name.
        QGuiApplication::setDesktopFileName(QStringLiteral("org.quillon.Brindle"));
        // Without a screen (offscreen, as under test) nobody could answer a
        // modal box: the dialogs' texts go to standard error instead.
        std::unique_ptr<app::TMessageBoxDialogService> dialogs;
        if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
            dialogs = std::make_unique<app::TMessageBoxDialogService>();
            suite::SetDialogService(dialogs.get());
        }
        {
            TDataModuleQuillon dataModule;
            {
                TForm1 form;
                form.show();
                rc = QApplication::exec();
            }
        }
        suite::SetDialogService(nullptr);
        app::ShutDownUnits();
    }
    return rc;
}
