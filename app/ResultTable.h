// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results table: the files a run lists, one row each, coloured by
// status, sortable on any column and filtered through TResultFilter. Rows
// are addressed by their entry (the detector's index, TResultModel's row),
// whatever the sorting and filtering show where.

#include "ResultModel.h"

#include <QTableView>

namespace app {

class TResultTable : public QTableView {
    Q_OBJECT
public:
    TResultTable(const TCrapFileWideStringlist &entries, QWidget *parent = nullptr);

    TResultModel *Model() const { return fModel; }
    TResultFilter *Filter() const { return fFilter; }

    // The number of entries listed (shown or filtered out).
    int count() const { return fModel->rowCount(); }
    QString Path(int entry) const { return fModel->Path(entry); }
    // The current entry, -1 when there is none.
    int currentRow() const;
    // Makes `entry` the current and only selected row (shown first, when
    // the filter hid it).
    void setCurrentRow(int entry);
    bool IsSelected(int entry) const;
    // The entry at `pos` in the viewport, -1 when none; and where an entry
    // is drawn (empty when it is not shown).
    int EntryAt(const QPoint &pos) const;
    QRect EntryRect(int entry) const;
    // The entries in the order the view shows them.
    QList<int> ShownEntries() const;
    // Extended: every column; otherwise file and reason only.
    void ShowColumnsFor(bool extended);
    // The text the file cell of `entry` shows in `width` pixels: elided in
    // the middle, so that the file's name stays visible.
    QString ShownText(int entry, int width) const;

protected:
    void changeEvent(QEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;
    void paintEvent(QPaintEvent *e) override;

private:
    QModelIndex ViewIndex(int entry, int column = 0) const;
    TResultModel *fModel;
    TResultFilter *fFilter;
};

} // namespace app
