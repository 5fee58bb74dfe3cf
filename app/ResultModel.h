// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The results table's model: the listed files of the detector's run, one
// row each. Row i of the model is entry i of the detector's `weird_files`;
// the model holds no copy of them, only how many are shown, so its memory
// grows with the rows, not with the files checked. Sorting and filtering
// happen in TResultFilter on top, so a view row is mapped to its entry
// through the filter (TResultTable does this).

#include "ResultRow.h"

#include <QAbstractTableModel>
#include <QMap>
#include <QPalette>
#include <QSortFilterProxyModel>

class TCrapFileWideStringlist;

namespace app {

class TResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum TColumn { File, Status, Code, Set, Score, Offset, Reason, ColumnCount };
    // The value a column sorts by (numbers as numbers).
    static constexpr int kSortRole = Qt::UserRole;

    explicit TResultModel(const TCrapFileWideStringlist &entries, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Shows the entries the model lacks, in one insertion; false when there
    // were none.
    bool Sync();
    // Shows none (the entries are about to be cleared).
    void Clear();

    // The palette the rows' colours are chosen for (the view's).
    void SetPalette(const QPalette &palette);

    QString Path(int row) const;
    TResultRow Row(int row) const;
    // How many rows there are of each code, and of each status.
    const QMap<QString, int> &CodeCounts() const { return fCodeCounts; }
    int StatusCount(TRowStatus status) const { return fStatusCounts[int(status)]; }

signals:
    // Rows were added or cleared: the counts changed.
    void CountsChanged();

private:
    const TCrapFileWideStringlist &fEntries;
    int fRows = 0;
    QPalette fPalette;
    QMap<QString, int> fCodeCounts;
    int fStatusCounts[kRowStatusCount] = {};
};

// Sorting on any column and the two filters: one status or code, and a text
// that the path must hold.
class TResultFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit TResultFilter(TResultModel *model, QObject *parent = nullptr);
    // "" for every row; "status:NAME" or "code:NAME" for one kind.
    void SetKind(const QString &kind);
    const QString &Kind() const { return fKind; }
    void SetPathText(const QString &text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    TResultModel *fModel;
    QString fKind;
    QString fPathText;
};

} // namespace app
