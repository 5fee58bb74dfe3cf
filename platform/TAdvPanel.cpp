#include "TAdvPanel.h"

#include <QLinearGradient>
#include <QPainter>
#include <QResizeEvent>

TAdvPanel::TAdvPanel(QWidget *parent) : QWidget(parent) {}

void TAdvPanel::SetAnchoredRight(QWidget *child) {
    fAnchors.append({child, width() - child->geometry().right()});
}

void TAdvPanel::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, GradientFrom);
    g.setColorAt(1, GradientTo);
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
