// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The toolkit's colour values: 0x00BBGGRR, with named colours such as
// "clRed" and the system colours (high byte 0xFF) that the settings file
// may hold.

#include <QColor>
#include <QString>
#include <cstdint>
#include <optional>

using TColor = int32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clWhite = 0xFFFFFF;

// A named colour's name, else "$" and 8 hexadecimal digits.
QString ColorToString(TColor c);
// A colour name, or an integer in decimal or after "$" in hexadecimal;
// nothing when the text is neither.
std::optional<TColor> StringToColor(const QString &s);
// An RGB(r,g,b) colour value.
constexpr TColor RGBColor(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}
// The colour to paint with; system colours map to the palette's.
QColor ToQColor(TColor c);
