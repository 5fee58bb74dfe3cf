// SPDX-License-Identifier: GPL-3.0-or-later
#include "TPCProgressBar.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

TPCProgressBar::TPCProgressBar(Qt::Orientation o, QWidget *parent)
    : QWidget(parent), fOrientation(o) {}

void TPCProgressBar::SetRangePos(int, int pos) {
    pos = std::clamp(pos, 0, 100);
    if (pos == fPos)
        return;
    fPos = pos;
    update();
}

void TPCProgressBar::paintEvent(QPaintEvent *) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, palette().color(QPalette::Base));
    const bool horizontal = fOrientation == Qt::Horizontal;
    // The spectrum spans the whole bar; the position shows how much of it.
    QLinearGradient g = horizontal ? QLinearGradient(r.left(), 0, r.right(), 0)
                                   : QLinearGradient(0, r.bottom(), 0, r.top());
    g.setColorAt(0.0, QColor(220, 40, 40));
    g.setColorAt(0.5, QColor(240, 220, 40));
    g.setColorAt(1.0, QColor(40, 190, 60));
    QRect fill = r.adjusted(1, 1, -1, -1);
    if (horizontal)
        fill.setWidth(fill.width() * fPos / 100);
    else
        fill.setTop(fill.bottom() + 1 - fill.height() * fPos / 100);
    p.fillRect(fill, g);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}
