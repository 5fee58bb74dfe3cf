// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A folder-name box: a line edit with a browse button that opens the folder
// dialog.

#include "TElButtonEdit.h"

class TElFolderNameEdit : public TElButtonEdit {
    Q_OBJECT
public:
    explicit TElFolderNameEdit(QWidget *parent = nullptr) : TElButtonEdit(parent) {}

protected:
    void Browse() override;
};
