// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why the selected entry is listed, beyond its reason line: for a file
// judged against a reference set, the set, the score against the run's cut
// and a chart of the letter pairs that deviate most; for damage, its code,
// reason and the byte where it begins, with a button that shows that place
// in the text pane. Only verdicts of the extended checks have anything to
// explain (a size verdict only when it has an offset); for the others the
// panel stays hidden.

#include "FileCheck.h"

#include <QWidget>
#include <cstdint>

class QLabel;
class QPushButton;
class TPairChart;
class TScoreGauge;

class TExplanationPanel : public QWidget {
    Q_OBJECT
public:
    explicit TExplanationPanel(QWidget *parent = nullptr);

    // Whether `verdict` has more to show than its reason line.
    static bool Explains(const engine::TVerdict &verdict);
    // Shows `verdict`'s explanation, or hides the panel when it has none.
    void Show(const engine::TVerdict &verdict, bool tooShort = false);
    void Clear();

    // "score 0.31, cut 0.12" in the user's number format; empty when the
    // verdict was not scored.
    static QString ScoreLine(const engine::TVerdict &verdict);
    // "Go to byte 1,024" in the user's number format.
    static QString GoToText(int64_t offset);

    QLabel *Heading;
    QLabel *Score;
    TScoreGauge *Gauge;
    TPairChart *Chart;
    QPushButton *GoToByte;

signals:
    // The user asked to see byte `offset` of the file in the text pane.
    void GoToByteClicked(qint64 offset);

private:
    int64_t fOffset = -1;
};

// The score on a scale from 0 to twice the cut, with the cut marked: how far
// over (or under) its cut a file is, at a glance.
class TScoreGauge : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    void Set(double score, double cut);
    double Score() const { return fScore; }
    double Cut() const { return fCut; }
    QSize sizeHint() const override { return {120, 10}; }

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    double fScore = -1.0;
    double fCut = -1.0;
};
