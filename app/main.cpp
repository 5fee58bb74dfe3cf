// Brindle: finds corrupt files in a text corpus. Takes no command-line
// options.

#include "MainWindow.h"
#include "MessageBoxDialogService.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brindle"));
    app::TMessageBoxDialogService dialogs;
    suite::SetDialogService(&dialogs);
    int rc = 0;
    {
        TForm1 form;
        form.show();
        rc = QApplication::exec();
    }
    suite::SetDialogService(nullptr);
    return rc;
}
