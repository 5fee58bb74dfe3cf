// SPDX-License-Identifier: GPL-3.0-or-later
#include "TAdvPanel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>

#include <cstdlib>

TAdvPanel::TAdvPanel(QWidget *parent) : QWidget(parent) {}

void TAdvPanel::SetAnchoredRight(QWidget *child) {
    fAnchors.append({child, width() - child->geometry().right()});
}

void TAdvPanel::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    // The captions on the panel are drawn in the palette's text colour. When
    // that is about as light (or dark) as the gradient, as light text under
    // a dark desktop palette is on the default light gradient, the panel is
    // drawn in a colour of the palette that sets the captions off instead.
    const int text = palette().color(QPalette::WindowText).lightness();
    auto contrasts = [text](const QColor &c) {
        return std::abs(c.lightness() - text) >= kMinimumContrast;
    };
    const int gradient = (GradientFrom.lightness() + GradientTo.lightness()) / 2;
    if (std::abs(text - gradient) < kMinimumContrast) {
        QColor back = palette().color(QPalette::Window);
        if (!contrasts(back))
            back = palette().color(QPalette::Base);
        if (!contrasts(back))
            back = text > 127 ? QColor(48, 48, 52) : QColor(246, 246, 246);
        g.setColorAt(0, back.lightness() < 128 ? back.lighter(125) : back.darker(105));
        g.setColorAt(1, back);
    } else {
        g.setColorAt(0, GradientFrom);
        g.setColorAt(1, GradientTo);
    }
    p.fillRect(rect(), g);
    if (Border) {
        p.setPen(QColor(128, 128, 128));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TAdvPanel::resizeEvent(QResizeEvent *e) {
    if (e->oldSize().width() >= 0 && e->oldSize().width() != width()) {
        for (const Anchor &a : fAnchors) {
            QRect r = a.w->geometry();
            r.moveRight(width() - a.rightGap);
            a.w->setGeometry(r);
        }
    }
    QWidget::resizeEvent(e);
}
