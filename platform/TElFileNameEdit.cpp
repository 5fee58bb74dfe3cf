// SPDX-License-Identifier: GPL-3.0-or-later
#include "TElFileNameEdit.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

TElFileNameEdit::TElFileNameEdit(QWidget *parent) : TElButtonEdit(parent) {
    // Only what the user types re-reads the list; SetText leaves it alone.
    connect(fEdit, &QLineEdit::textEdited, this, [this](const QString &t) {
        if (MultiSelect()) {
            fFiles = SplitNames(t);
            ListInToolTip();
        }
    });
}

void TElFileNameEdit::SetFileList(const QStringList &files) {
    fFiles = files;
    fEdit->setText(JoinNames(files));
    ListInToolTip();
}

void TElFileNameEdit::ListInToolTip() {
    // Several long names do not fit the box; the tooltip shows them all.
    fEdit->setToolTip(fFiles.join(QLatin1Char('\n')));
}

QString TElFileNameEdit::JoinNames(const QStringList &files) {
    if (files.size() == 1)
        return files.first();
    QStringList quoted;
    for (const QString &f : files)
        quoted.append(QLatin1Char('"') + f + QLatin1Char('"'));
    return quoted.join(QLatin1Char(' '));
}

QStringList TElFileNameEdit::SplitNames(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (!t.startsWith(QLatin1Char('"')))
        return {t};
    QStringList out;
    qsizetype at = 0;
    while (true) {
        const qsizetype open = t.indexOf(QLatin1Char('"'), at);
        if (open < 0)
            break;
        const qsizetype close = t.indexOf(QLatin1Char('"'), open + 1);
        if (close < 0) {
            out.append(t.mid(open + 1));
            break;
        }
        if (close > open + 1)
            out.append(t.mid(open + 1, close - open - 1));
        at = close + 1;
    }
    return out;
}

void TElFileNameEdit::Browse() {
    QFileDialog dlg(this, DialogTitle);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setFileMode(MultiSelect() ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!fFiles.isEmpty())
        dlg.setDirectory(QFileInfo(fFiles.first()).absolutePath());
    if (dlg.exec() != QDialog::Accepted)
        return;
    const QStringList chosen = dlg.selectedFiles();
    if (MultiSelect())
        SetFileList(chosen);
    else if (!chosen.isEmpty())
        SetText(chosen.first());
}
