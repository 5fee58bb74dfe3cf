// SPDX-License-Identifier: GPL-3.0-or-later
#include "StatusColours.h"

namespace app {

bool IsDarkPalette(const QPalette &palette) {
    return palette.color(QPalette::Base).lightness() < 128;
}

TRowColours RowColours(TRowStatus status, const QPalette &palette) {
    // Each pair keeps a contrast of at least 7:1, and the five backgrounds
    // differ in hue, not only in lightness, so that none passes for another
    // or for an empty field.
    const bool dark = IsDarkPalette(palette);
    switch (status) {
    case TRowStatus::Size:
        return dark ? TRowColours{QColor(92, 86, 0), QColor(255, 255, 214)}
                    : TRowColours{QColor(255, 255, 0), QColor(0, 0, 128)};
    case TRowStatus::Damage:
        return dark ? TRowColours{QColor(112, 56, 0), QColor(255, 232, 208)}
                    : TRowColours{QColor(255, 196, 128), QColor(0, 0, 128)};
    case TRowStatus::Digraph:
        return dark ? TRowColours{QColor(28, 58, 104), QColor(222, 236, 255)}
                    : TRowColours{QColor(204, 224, 255), QColor(0, 0, 128)};
    case TRowStatus::TooShort:
        return dark ? TRowColours{QColor(62, 62, 62), QColor(214, 214, 214)}
                    : TRowColours{QColor(226, 226, 226), QColor(48, 48, 48)};
    case TRowStatus::Unreadable:
        return dark ? TRowColours{QColor(104, 24, 36), QColor(255, 220, 224)}
                    : TRowColours{QColor(255, 188, 196), QColor(112, 0, 0)};
    }
    return {palette.color(QPalette::Base), palette.color(QPalette::Text)};
}

QString LegendHtml(const QPalette &palette) {
    QString html;
    for (int s = 0; s < kRowStatusCount; ++s) {
        const auto status = TRowStatus(s);
        const TRowColours c = RowColours(status, palette);
        html +=
            QStringLiteral("<span style=\"background-color:%1; color:%2\">&nbsp;%3&nbsp;</span> ")
                .arg(c.background.name(), c.text.name(), StatusName(status).toHtmlEscaped());
    }
    return html;
}

} // namespace app
