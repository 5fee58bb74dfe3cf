// SPDX-License-Identifier: GPL-3.0-or-later
#include "TElFolderNameEdit.h"

#include <QDir>
#include <QFileDialog>

void TElFolderNameEdit::Browse() {
    // Browsing starts at the desktop unless a folder is already named.
    QString start = Text();
    if (start.isEmpty() || !QDir(start).exists())
        start = QDir::homePath() + QStringLiteral("/Desktop");
    const QString chosen = QFileDialog::getExistingDirectory(
        this, DialogTitle, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!chosen.isEmpty())
        SetText(chosen);
}
