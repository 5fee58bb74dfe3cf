// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultModel.h"

#include "FileNames.h"
#include "StatusColours.h"
#include "file_crap_detector.h"

#include <QDir>
#include <QLocale>
#include <QPalette>

namespace app {

TResultModel::TResultModel(const TCrapFileWideStringlist &entries, QObject *parent)
    : QAbstractTableModel(parent), fEntries(entries) {}

int TResultModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : fRows;
}

int TResultModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

void TResultModel::SetPalette(const QPalette &palette) {
    fPalette = palette;
    if (fRows > 0)
        emit dataChanged(index(0, 0), index(fRows - 1, ColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ForegroundRole});
}

QString TResultModel::Path(int row) const {
    return row >= 0 && row < fRows ? fEntries.Strings(row) : QString();
}

TResultRow TResultModel::Row(int row) const {
    return row >= 0 && row < fRows ? MakeResultRow(*fEntries.Objects(row)) : TResultRow{};
}

QVariant TResultModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= fRows)
        return {};
    const int row = index.row();
    if (role == Qt::ToolTipRole) {
        // Rich text, so that the tooltip wraps the reason instead of running
        // it off the screen.
        return QStringLiteral("<p><b>") +
               QDir::toNativeSeparators(suite::DisplayFileName(Path(row))).toHtmlEscaped() +
               QStringLiteral("</b></p><p>") + fEntries.Objects(row)->data().toHtmlEscaped() +
               QStringLiteral("</p>");
    }
    if (role != Qt::DisplayRole && role != kSortRole && role != Qt::BackgroundRole &&
        role != Qt::ForegroundRole)
        return {};
    const TResultRow r = Row(row);
    if (role == Qt::BackgroundRole || role == Qt::ForegroundRole) {
        // The view's own palette: the table follows a dark one.
        const TRowColours c = RowColours(r.status, fPalette);
        return role == Qt::BackgroundRole ? c.background : c.text;
    }
    const bool sort = role == kSortRole;
    switch (index.column()) {
    case File:
        return QDir::toNativeSeparators(suite::DisplayFileName(Path(row)));
    case Status:
        return r.statusText;
    case Code:
        return r.code;
    case Set:
        return r.set;
    case Score:
        if (sort)
            return r.score;
        return r.score < 0 ? QString() : QLocale().toString(r.score, 'f', 3);
    case Offset:
        if (sort)
            return qlonglong(r.offset);
        // Without group separators, as the reason and "Go to byte" write it.
        return r.offset < 0 ? QString() : QString::number(r.offset);
    case Reason:
        return r.reason;
    default:
        return {};
    }
}

QVariant TResultModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const names[ColumnCount] = {"file",  "status", "test or code", "set",
                                                   "score", "offset", "reason"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(names[section]) : QVariant();
}

bool TResultModel::Sync() {
    const int count = fEntries.Count();
    if (count <= fRows)
        return false;
    for (int i = fRows; i < count; ++i) {
        const TResultRow r = MakeResultRow(*fEntries.Objects(i));
        ++fCodeCounts[r.code];
        ++fStatusCounts[int(r.status)];
    }
    // One insertion for the lot: one layout and one repaint, not one each.
    beginInsertRows({}, fRows, count - 1);
    fRows = count;
    endInsertRows();
    emit CountsChanged();
    return true;
}

void TResultModel::Clear() {
    beginResetModel();
    fRows = 0;
    fCodeCounts.clear();
    std::fill(std::begin(fStatusCounts), std::end(fStatusCounts), 0);
    endResetModel();
    emit CountsChanged();
}

TResultFilter::TResultFilter(TResultModel *model, QObject *parent)
    : QSortFilterProxyModel(parent), fModel(model) {
    setSourceModel(model);
    setSortRole(TResultModel::kSortRole);
    setSortCaseSensitivity(Qt::CaseInsensitive);
}

void TResultFilter::SetKind(const QString &kind) {
    if (kind == fKind)
        return;
    fKind = kind;
    invalidateRowsFilter();
}

void TResultFilter::SetPathText(const QString &text) {
    if (text == fPathText)
        return;
    fPathText = text;
    invalidateRowsFilter();
}

bool TResultFilter::filterAcceptsRow(int sourceRow, const QModelIndex &) const {
    if (fKind.isEmpty() && fPathText.isEmpty())
        return true;
    if (!fPathText.isEmpty() &&
        !QDir::toNativeSeparators(suite::DisplayFileName(fModel->Path(sourceRow)))
             .contains(fPathText, Qt::CaseInsensitive))
        return false;
    if (fKind.isEmpty())
        return true;
    const TResultRow r = fModel->Row(sourceRow);
    if (fKind.startsWith(QLatin1String("status:")))
        return r.statusText == QStringView(fKind).mid(7);
    return r.code == QStringView(fKind).mid(5);
}

} // namespace app
