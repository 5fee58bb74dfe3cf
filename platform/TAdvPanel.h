// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A panel with a vertical gradient and a grey border. Children marked with
// SetAnchoredRight() keep their distance to the panel's right edge when the
// panel is resized; the others keep their top-left position.

#include <QColor>
#include <QWidget>

class TAdvPanel : public QWidget {
    Q_OBJECT
public:
    explicit TAdvPanel(QWidget *parent = nullptr);
    QColor GradientFrom = Qt::white;
    QColor GradientTo = Qt::white;
    bool Border = false;
    void SetAnchoredRight(QWidget *child);
    // Least difference in lightness (0-255) between the captions and the
    // gradient for the gradient to be used.
    static constexpr int kMinimumContrast = 96;

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;

private:
    struct Anchor {
        QWidget *w;
        int rightGap;
    };
    QList<Anchor> fAnchors;
};
