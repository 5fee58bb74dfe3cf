// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colours of the results table's rows, one pair per status, for a light
// and for a dark palette, and the legend that names them.

#include "ResultRow.h"

#include <QColor>
#include <QPalette>
#include <QString>

namespace app {

struct TRowColours {
    QColor background;
    QColor text;
};

// True when `palette` draws dark text fields (light text on a dark base).
bool IsDarkPalette(const QPalette &palette);
TRowColours RowColours(TRowStatus status, const QPalette &palette);
// A line of swatches, each in its row's colours, in rich text.
QString LegendHtml(const QPalette &palette);

} // namespace app
