// SPDX-License-Identifier: GPL-3.0-or-later
#include "PairChart.h"

#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <cmath>

const QColor TPairChart::kFileColour(0, 0, 128);
const QColor TPairChart::kSetColour(150, 150, 150);

namespace {

constexpr int kBarHeight = 4;
constexpr int kGap = 4;

} // namespace

TPairChart::TPairChart(QWidget *parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void TPairChart::SetPairs(const std::vector<engine::TPairDeviation> &tooMany,
                          const std::vector<engine::TPairDeviation> &tooFew) {
    fPairs = tooMany;
    fPairs.insert(fPairs.end(), tooFew.begin(), tooFew.end());
    std::stable_sort(fPairs.begin(), fPairs.end(), [](const auto &a, const auto &b) {
        return std::fabs(a.file - a.reference) > std::fabs(b.file - b.reference);
    });
    if (fPairs.size() > size_t(kMostPairs))
        fPairs.resize(size_t(kMostPairs));
    updateGeometry();
    update();
}

QSize TPairChart::sizeHint() const {
    // A legend row, then one row a pair.
    return {220, (int(fPairs.size()) + 1) * kRowHeight + kGap};
}

QSize TPairChart::minimumSizeHint() const {
    return {120, 2 * kRowHeight};
}

void TPairChart::paintEvent(QPaintEvent *) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QFontMetrics fm = fontMetrics();
    const QLocale locale;
    const QColor text = palette().color(QPalette::Text);

    // The legend: which bar is which.
    int x = kGap;
    for (const auto &[colour, name] : {std::pair{kFileColour, QStringLiteral("file")},
                                       std::pair{kSetColour, QStringLiteral("set")}}) {
        p.fillRect(x, (kRowHeight - kBarHeight * 2) / 2, 10, kBarHeight * 2, colour);
        x += 14;
        p.setPen(text);
        p.drawText(QRect(x, 0, fm.horizontalAdvance(name) + 2, kRowHeight), Qt::AlignVCenter, name);
        x += fm.horizontalAdvance(name) + 12;
    }
    if (fPairs.empty())
        return;

    // Every bar on one scale, so that the rows compare.
    float most = 0.0f;
    for (const auto &d : fPairs)
        most = std::max({most, d.file, d.reference});
    const auto figure = [&](float v) { return locale.toString(double(v) * 100.0, 'f', 2) + '%'; };
    const int labelWidth = fm.horizontalAdvance(QStringLiteral("WW")) + 2 * kGap;
    const int figureWidth = fm.horizontalAdvance(figure(88.88f)) + kGap;
    const int barLeft = kGap + labelWidth;
    const int barRoom = std::max(10, width() - barLeft - 2 * figureWidth - kGap);

    int y = kRowHeight;
    for (const auto &d : fPairs) {
        p.setPen(text);
        // A space in a pair shows as a middle dot, not as nothing: every
        // Latin font has it, where the open box is often missing.
        p.drawText(QRect(kGap, y, labelWidth, kRowHeight), Qt::AlignVCenter,
                   QString(d.pair).replace(QLatin1Char(' '), QChar(0x00B7)));
        const int top = y + (kRowHeight - 2 * kBarHeight - 1) / 2;
        const auto bar = [&](float v) {
            return most > 0 ? int(std::lround(v / most * barRoom)) : 0;
        };
        p.fillRect(barLeft, top, std::max(1, bar(d.file)), kBarHeight, kFileColour);
        p.fillRect(barLeft, top + kBarHeight + 1, std::max(1, bar(d.reference)), kBarHeight,
                   kSetColour);
        p.drawText(QRect(barLeft + barRoom + kGap, y, 2 * figureWidth, kRowHeight),
                   Qt::AlignVCenter, figure(d.file) + QStringLiteral(" / ") + figure(d.reference));
        y += kRowHeight;
    }
}
