// Brindle: finds corrupt files in a text corpus. Takes no command-line
// options.

#include "MainWindow.h"
#include "MessageBoxDialogService.h"
#include "My_types.h"
#include "UnitLifecycle.h"
#include "tool_data_module.h"

#include <QApplication>
#include <memory>

int main(int argc, char *argv[]) {
    app::StartUpUnits();
    int rc = 0;
    {
        QApplication application(argc, argv);
        QApplication::setApplicationName(Tool_Name(kBrindleTool));
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
