// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's progress bar: a percentage position, drawn with spectrum
// colouring (red at the start through yellow to green), smooth, no text.

#include <QWidget>

class TPCProgressBar : public QWidget {
    Q_OBJECT
public:
    explicit TPCProgressBar(Qt::Orientation o = Qt::Horizontal, QWidget *parent = nullptr);
    // Sets the position; `range` selects the percentage range and is 2 for
    // every caller. The position is clamped to 0..100.
    void SetRangePos(int range, int pos);
    int Position() const { return fPos; }
    Qt::Orientation Orientation() const { return fOrientation; }

protected:
    void paintEvent(QPaintEvent *) override;

private:
    Qt::Orientation fOrientation;
    int fPos = 0;
};
