// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A line edit with a browse button beside it: the common part of the file-
// and folder-name boxes.

#include "EditControls.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

class TElButtonEdit : public QWidget, public TCustomElEdit {
    Q_OBJECT
public:
    explicit TElButtonEdit(QWidget *parent = nullptr);
    QString DialogTitle;
    QString Text() const override;
    void SetText(const QString &t) override;
    QLineEdit *Edit() const { return fEdit; }
    QToolButton *BrowseButton() const { return fButton; }

protected:
    // Opens the dialog that the button stands for.
    virtual void Browse() = 0;
    QLineEdit *fEdit;

private:
    QToolButton *fButton;
};
