// SPDX-License-Identifier: GPL-3.0-or-later
#include "Graphics.h"

#include <QGuiApplication>
#include <QPalette>
#include <array>

namespace {

struct NamedColor {
    TColor value;
    const char *name;
};

// The toolkit's names, in its own order; the first match wins both ways.
constexpr TColor kSys = TColor(0xFF000000);
const std::array<NamedColor, 52> kNames{{
    {0x000000, "clBlack"},
    {0x000080, "clMaroon"},
    {0x008000, "clGreen"},
    {0x008080, "clOlive"},
    {0x800000, "clNavy"},
    {0x800080, "clPurple"},
    {0x808000, "clTeal"},
    {0x808080, "clGray"},
    {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"},
    {0x00FF00, "clLime"},
    {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"},
    {0xFF00FF, "clFuchsia"},
    {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"},
    {0xC0DCC0, "clMoneyGreen"},
    {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"},
    {0xA4A0A0, "clMedGray"},
    {kSys | 0, "clScrollBar"},
    {kSys | 1, "clBackground"},
    {kSys | 2, "clActiveCaption"},
    {kSys | 3, "clInactiveCaption"},
    {kSys | 4, "clMenu"},
    {kSys | 5, "clWindow"},
    {kSys | 6, "clWindowFrame"},
    {kSys | 7, "clMenuText"},
    {kSys | 8, "clWindowText"},
    {kSys | 9, "clCaptionText"},
    {kSys | 10, "clActiveBorder"},
    {kSys | 11, "clInactiveBorder"},
    {kSys | 12, "clAppWorkSpace"},
    {kSys | 13, "clHighlight"},
    {kSys | 14, "clHighlightText"},
    {kSys | 15, "clBtnFace"},
    {kSys | 16, "clBtnShadow"},
    {kSys | 17, "clGrayText"},
    {kSys | 18, "clBtnText"},
    {kSys | 19, "clInactiveCaptionText"},
    {kSys | 20, "clBtnHighlight"},
    {kSys | 21, "cl3DDkShadow"},
    {kSys | 22, "cl3DLight"},
    {kSys | 23, "clInfoText"},
    {kSys | 24, "clInfoBk"},
    {kSys | 26, "clHotLight"},
    {kSys | 27, "clGradientActiveCaption"},
    {kSys | 28, "clGradientInactiveCaption"},
    {kSys | 29, "clMenuHighlight"},
    {kSys | 30, "clMenuBar"},
    {0x1FFFFFFF, "clNone"},
    {0x20000000, "clDefault"},
}};

} // namespace

QString ColorToString(TColor c) {
    for (const NamedColor &n : kNames)
        if (n.value == c)
            return QString::fromLatin1(n.name);
    return QLatin1Char('$') +
           QString::number(uint32_t(c), 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

std::optional<TColor> StringToColor(const QString &s) {
    for (const NamedColor &n : kNames)
        if (s.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0)
            return n.value;
    const QString t = s.trimmed();
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith(QLatin1Char('$')))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else
        v = t.toLongLong(&ok, 10);
    if (!ok || v < INT32_MIN || v > UINT32_MAX)
        return std::nullopt;
    return TColor(uint32_t(v));
}

QColor ToQColor(TColor c) {
    if ((uint32_t(c) & 0xFF000000u) == 0xFF000000u) {
        const QPalette pal = QGuiApplication::palette();
        switch (c & 0xFF) {
        case 5:
            return pal.color(QPalette::Base);
        case 8:
            return pal.color(QPalette::WindowText);
        case 13:
            return pal.color(QPalette::Highlight);
        case 14:
            return pal.color(QPalette::HighlightedText);
        case 15:
            return pal.color(QPalette::Button);
        default:
            return pal.color(QPalette::Window);
        }
    }
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
