// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageBoxDialogService.h"

#include "HelpViewer.h"

#include <QMessageBox>

namespace app {

int TMessageBoxDialogService::ShowMessage(QWidget *owner, const QString &title, const QString &text,
                                          suite::TMsgDlgType type, unsigned buttons,
                                          int helpContext) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (type) {
    case suite::TMsgDlgType::Warning:
        icon = QMessageBox::Warning;
        break;
    case suite::TMsgDlgType::Error:
        icon = QMessageBox::Critical;
        break;
    case suite::TMsgDlgType::Confirmation:
        icon = QMessageBox::Question;
        break;
    case suite::TMsgDlgType::Information:
        break;
    }
    QMessageBox box(icon, title, text, QMessageBox::NoButton, owner);
    struct Pair {
        unsigned ours;
        QMessageBox::StandardButton qt;
        int result;
    };
    const Pair pairs[] = {{suite::mbOK, QMessageBox::Ok, suite::mrOk},
                          {suite::mbCancel, QMessageBox::Cancel, 2},
                          {suite::mbYes, QMessageBox::Yes, 6},
                          {suite::mbNo, QMessageBox::No, 7}};
    for (const Pair &p : pairs)
        if (buttons & p.ours)
            box.addButton(p.qt);
    if (box.buttons().isEmpty())
        box.addButton(QMessageBox::Ok);
    if (buttons & suite::mbHelp)
        box.addButton(QMessageBox::Help);
    int pressed = box.exec();
    // Help opens the topic and leaves the message up for an answer.
    while (pressed == QMessageBox::Help) {
        ShowHelpContext(helpContext);
        pressed = box.exec();
    }
    for (const Pair &p : pairs)
        if (pressed == p.qt)
            return p.result;
    return suite::mrOk;
}

} // namespace app
