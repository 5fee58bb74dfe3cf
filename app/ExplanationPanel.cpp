// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExplanationPanel.h"

#include "PairChart.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Two decimals, and more where a score and a cut would read the same.
QString Figure(double v, double other = -1.0) {
    int decimals = 2;
    while (decimals < 6 && other >= 0.0 &&
           QLocale().toString(v, 'f', decimals) == QLocale().toString(other, 'f', decimals))
        ++decimals;
    return QLocale().toString(v, 'f', decimals);
}

} // namespace

TExplanationPanel::TExplanationPanel(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ExplanationPanel"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(4, 2, 4, 2);
    column->setSpacing(2);
    Heading = new QLabel(this);
    Heading->setWordWrap(true);
    Heading->setTextFormat(Qt::PlainText);
    Heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(Heading);
    auto *scoreRow = new QHBoxLayout;
    Score = new QLabel(this);
    Gauge = new TScoreGauge(this);
    Gauge->setFixedHeight(10);
    scoreRow->addWidget(Score);
    scoreRow->addWidget(Gauge, 1);
    column->addLayout(scoreRow);
    Chart = new TPairChart(this);
    column->addWidget(Chart);
    GoToByte = new QPushButton(this);
    GoToByte->setObjectName(QStringLiteral("ButtonGoToByte"));
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(GoToByte);
    buttonRow->addStretch(1);
    column->addLayout(buttonRow);
    // What there is to show stands at the top, whatever room is left.
    column->addStretch(1);
    connect(GoToByte, &QPushButton::clicked, this, [this] {
        if (fOffset >= 0)
            emit GoToByteClicked(fOffset);
    });
    Clear();
}

bool TExplanationPanel::Explains(const engine::TVerdict &v) {
    // Only the extended checks give details; a size verdict has more to
    // show than its reason only when damage was found beside it.
    return v.extended && (v.test != engine::TSuspectTest::Size || v.extended->damage);
}

void TExplanationPanel::Clear() {
    fOffset = -1;
    Heading->clear();
    Score->clear();
    Gauge->Set(-1.0, -1.0);
    Chart->SetPairs({}, {});
    hide();
}

void TExplanationPanel::Show(const engine::TVerdict &v, bool tooShort) {
    Clear();
    if (!Explains(v))
        return;
    const engine::TExtendedDetail &d = *v.extended;
    const QString code = engine::VerdictCode(v, tooShort);
    fOffset = engine::DamageOffset(v);
    QString heading;
    if (tooShort) {
        // Its reason says it all: "Too short to judge: 12 letter pairs, …".
        heading = v.reason;
    } else if (v.test == engine::TSuspectTest::Size) {
        heading = QStringLiteral("Size test (%1): %2").arg(code, v.reason);
        if (d.damage)
            heading += QStringLiteral("\nDamage beside it (%1): %2")
                           .arg(engine::DamageCodeName(d.damage->code), d.damage->reason);
    } else if (v.test == engine::TSuspectTest::Damage) {
        heading = QStringLiteral("Damage (%1): %2").arg(code, v.reason);
    } else {
        heading = d.set.isEmpty()
                      ? QStringLiteral("Letter pairs (%1)").arg(code)
                      : QStringLiteral("Letter pairs against the set \"%1\" (%2)").arg(d.set, code);
    }
    Heading->setText(heading);
    Score->setText(ScoreLine(v));
    Score->setVisible(!Score->text().isEmpty());
    Gauge->Set(d.score, d.cut);
    Gauge->setVisible(d.score >= 0.0 && d.cut > 0.0);
    Chart->SetPairs(d.too_many_pairs, d.too_few_pairs);
    Chart->setVisible(!Chart->Pairs().empty());
    GoToByte->setText(GoToText(fOffset));
    GoToByte->setVisible(fOffset >= 0);
    show();
}

QString TExplanationPanel::ScoreLine(const engine::TVerdict &v) {
    if (!v.extended || v.extended->score < 0.0)
        return QString();
    const engine::TExtendedDetail &d = *v.extended;
    if (d.cut < 0.0)
        return QStringLiteral("score %1").arg(Figure(d.score));
    return QStringLiteral("score %1, %2 the cut %3")
        .arg(Figure(d.score, d.cut),
             d.score > d.cut ? QStringLiteral("over") : QStringLiteral("within"),
             Figure(d.cut, d.score));
}

QString TExplanationPanel::GoToText(int64_t offset) {
    // The number as the reason writes it, so that the two read alike.
    return QStringLiteral("Go to byte %1").arg(offset);
}

void TScoreGauge::Set(double score, double cut) {
    fScore = score;
    fCut = cut;
    update();
}

void TScoreGauge::paintEvent(QPaintEvent *) {
    if (fScore < 0.0 || fCut <= 0.0)
        return;
    QPainter p(this);
    const QRect r = rect().adjusted(0, 1, -1, -2);
    p.fillRect(r, palette().color(QPalette::Base));
    // Twice the cut fills the gauge, so the cut stands in its middle.
    const double share = std::clamp(fScore / (2.0 * fCut), 0.0, 1.0);
    p.fillRect(QRect(r.left(), r.top(), int(share * r.width()), r.height()),
               fScore > fCut ? QColor(200, 40, 40) : QColor(60, 150, 60));
    p.setPen(palette().color(QPalette::Text));
    p.drawRect(r);
    const int mid = r.left() + r.width() / 2;
    p.drawLine(mid, 0, mid, height() - 1);
}
