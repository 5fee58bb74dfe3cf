// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog in which the user adds, renames and removes named reference
// sets. It edits a copy; the window takes the sets when it is accepted.

#include "ReferenceSetList.h"

#include <QDialog>

class QListWidget;
class QPushButton;

class TReferenceSetsDialog : public QDialog {
    Q_OBJECT
public:
    explicit TReferenceSetsDialog(const QList<app::TNamedSet> &sets, QWidget *parent = nullptr);

    const QList<app::TNamedSet> &Sets() const { return fSets; }
    // Adds a set; a name already used is made unique with a number.
    void AddSet(app::TNamedSet set);
    void RemoveSet(int row);
    void RenameSet(int row, const QString &name);

    QListWidget *List;
    QPushButton *AddTexts;
    QPushButton *AddProfile;
    QPushButton *Rename;
    QPushButton *Remove;

private:
    // Asks for texts (or one saved profile) and a name, then adds the set.
    void AddFromFiles(bool profile);
    void RenameClick();
    void Refill();
    // `name` made a valid set name (ValidSetName) that no other set has,
    // with "-2", "-3", … added where needed.
    QString UniqueName(const QString &name, int except = -1) const;

    QList<app::TNamedSet> fSets;
};

// `name` with what a set's name may not hold turned into '-'; "set" when
// nothing is left.
QString ValidSetName(const QString &name);
