// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small bar chart of the letter pairs that set a suspect file apart from
// its reference set: for each pair, its frequency in the file beside its
// frequency in the set, the most deviating pair first. Drawn plainly with
// QPainter; one chart does not warrant a charting library.

#include "FileCheck.h"

#include <QWidget>
#include <vector>

class TPairChart : public QWidget {
    Q_OBJECT
public:
    explicit TPairChart(QWidget *parent = nullptr);

    // At most this many pairs are drawn: more would not fit a readable row.
    static constexpr int kMostPairs = 8;

    // The pairs of a verdict (too many and too few together). Keeps the
    // kMostPairs with the largest difference between file and set, largest
    // first; equal differences keep the verdict's order.
    void SetPairs(const std::vector<engine::TPairDeviation> &tooMany,
                  const std::vector<engine::TPairDeviation> &tooFew);
    const std::vector<engine::TPairDeviation> &Pairs() const { return fPairs; }

    // The height of the legend and of each pair's row.
    static constexpr int kRowHeight = 12;
    // The colours of the file's bars and of the set's.
    static const QColor kFileColour;
    static const QColor kSetColour;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    std::vector<engine::TPairDeviation> fPairs;
};
