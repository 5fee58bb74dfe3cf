// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultTable.h"

#include <QEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace app {

namespace {

// Long paths are shortened in the middle, so that the file's name stays.
class TMiddleElided : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->textElideMode = Qt::ElideMiddle;
    }
};

} // namespace

TResultTable::TResultTable(const TCrapFileWideStringlist &entries, QWidget *parent)
    : QTableView(parent), fModel(new TResultModel(entries, this)),
      fFilter(new TResultFilter(fModel, this)) {
    fModel->SetPalette(palette());
    setModel(fFilter);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setItemDelegateForColumn(TResultModel::File, new TMiddleElided(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setShowGrid(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 2);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSortIndicatorClearable(true);
    // Unsorted at first: the rows in the run's order.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setSortingEnabled(true);
    ShowColumnsFor(false);
}

void TResultTable::ShowColumnsFor(bool extended) {
    for (int c = 0; c < TResultModel::ColumnCount; ++c)
        setColumnHidden(c, !extended && c != TResultModel::File && c != TResultModel::Reason);
    const int w = std::max(viewport()->width(), 300);
    if (extended) {
        setColumnWidth(TResultModel::File, w * 2 / 5);
        for (int c : {TResultModel::Status, TResultModel::Code, TResultModel::Set})
            setColumnWidth(c, 70);
        setColumnWidth(TResultModel::Score, 50);
        setColumnWidth(TResultModel::Offset, 55);
    } else {
        setColumnWidth(TResultModel::File, w * 3 / 5);
    }
}

QModelIndex TResultTable::ViewIndex(int entry, int column) const {
    if (entry < 0 || entry >= count())
        return {};
    return fFilter->mapFromSource(fModel->index(entry, column));
}

int TResultTable::currentRow() const {
    const QModelIndex at = currentIndex();
    return at.isValid() ? fFilter->mapToSource(at).row() : -1;
}

void TResultTable::setCurrentRow(int entry) {
    QModelIndex at = ViewIndex(entry);
    if (!at.isValid() && entry >= 0 && entry < count()) {
        // A hidden entry is asked for: the filters give way.
        fFilter->SetKind(QString());
        fFilter->SetPathText(QString());
        at = ViewIndex(entry);
    }
    if (!at.isValid()) {
        clearSelection();
        return;
    }
    selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect |
                                              QItemSelectionModel::Rows);
    scrollTo(at);
}

bool TResultTable::IsSelected(int entry) const {
    const QModelIndex at = ViewIndex(entry);
    return at.isValid() && selectionModel()->isRowSelected(at.row(), {});
}

int TResultTable::EntryAt(const QPoint &pos) const {
    const QModelIndex at = indexAt(pos);
    return at.isValid() ? fFilter->mapToSource(at).row() : -1;
}

QRect TResultTable::EntryRect(int entry) const {
    const QModelIndex first = ViewIndex(entry, TResultModel::File);
    if (!first.isValid())
        return {};
    QRect r = visualRect(first);
    r.setLeft(0);
    r.setRight(viewport()->width() - 1);
    return r;
}

QList<int> TResultTable::ShownEntries() const {
    QList<int> out;
    out.reserve(fFilter->rowCount());
    for (int r = 0; r < fFilter->rowCount(); ++r)
        out << fFilter->mapToSource(fFilter->index(r, 0)).row();
    return out;
}

QString TResultTable::ShownText(int entry, int width) const {
    const QModelIndex at = fModel->index(entry, TResultModel::File);
    if (!at.isValid())
        return QString();
    return fontMetrics().elidedText(at.data().toString(), Qt::ElideMiddle, width);
}

void TResultTable::changeEvent(QEvent *e) {
    if (e->type() == QEvent::PaletteChange)
        fModel->SetPalette(palette());
    QTableView::changeEvent(e);
}

void TResultTable::paintEvent(QPaintEvent *e) {
    QTableView::paintEvent(e);
    if (!hasFocus())
        return;
    // Where the keyboard is stays plain to see, also with no row current.
    QPainter p(viewport());
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(viewport()->rect().adjusted(1, 1, -1, -1));
}

void TResultTable::focusOutEvent(QFocusEvent *e) {
    QTableView::focusOutEvent(e);
    viewport()->update();
}

void TResultTable::focusInEvent(QFocusEvent *e) {
    QTableView::focusInEvent(e);
    viewport()->update();
    // Reached by the keyboard, the table shows a current row at once.
    if (!currentIndex().isValid() && fFilter->rowCount() > 0 &&
        (e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason))
        setCurrentIndex(fFilter->index(0, 0));
}

} // namespace app
