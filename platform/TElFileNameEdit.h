// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file-name box: a line edit with a browse button that opens the file
// dialog. With multiple selection allowed it keeps a list of the chosen
// files; its text then shows them, each in double quotes when there are
// several, and typing a text replaces the list with the names in it.

#include "TElButtonEdit.h"

#include <QStringList>

class TElFileNameEdit : public TElButtonEdit {
    Q_OBJECT
public:
    enum TOption : unsigned {
        ofHideReadOnly = 1,
        ofAllowMultiSelect = 2,
        ofFileMustExist = 4,
        ofEnableSizing = 8
    };
    explicit TElFileNameEdit(QWidget *parent = nullptr);

    unsigned Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
    bool MultiSelect() const { return Options & ofAllowMultiSelect; }

    // SetText sets the text only; the file list stays as it is.

    const QStringList &FileList() const { return fFiles; }
    // Sets the list and shows it in the text.
    void SetFileList(const QStringList &files);
    void AppendFile(const QString &file) { fFiles.append(file); }

    // How a list of names is shown, and read back from typed text.
    static QString JoinNames(const QStringList &files);
    static QStringList SplitNames(const QString &text);

protected:
    void Browse() override;

private:
    void ListInToolTip();
    QStringList fFiles;
};
