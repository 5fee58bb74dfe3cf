// SPDX-License-Identifier: GPL-3.0-or-later
#include "THeaderControl.h"

#include <QPainter>
#include <QStandardItemModel>

THeaderControl::THeaderControl(QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), fModel(new QStandardItemModel(this)) {
    setModel(fModel);
    setSectionsClickable(true);
    setSectionResizeMode(QHeaderView::Interactive);
    connect(this, &QHeaderView::sectionClicked, this, [this](int i) {
        if (OnSectionClick)
            OnSectionClick(i);
    });
    connect(this, &QHeaderView::sectionResized, this, [this](int i, int, int) {
        if (OnSectionResize)
            OnSectionResize(i);
    });
}

void THeaderControl::SetSections(const QStringList &texts, const QList<int> &widths) {
    fModel->clear();
    fModel->setColumnCount(int(texts.size()));
    fModel->setHorizontalHeaderLabels(texts);
    for (int i = 0; i < int(widths.size()) && i < count(); ++i)
        resizeSection(i, widths[i]);
}

QString THeaderControl::SectionText(int i) const {
    return fModel->headerData(i, Qt::Horizontal).toString();
}

void THeaderControl::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const {
    if (!OnDrawSection) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    OnDrawSection(*painter, logicalIndex, rect);
    painter->restore();
}

void THeaderControl::resizeEvent(QResizeEvent *e) {
    QHeaderView::resizeEvent(e);
    if (OnResize)
        OnResize();
}
