// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's visual styles: the process-wide style number and the colour
// each style gives to plain controls.
//
// Colours are kept as the suite's 32-bit colour values (0x00BBGGRR, or a
// system colour 0xFF0000nn) so the tables read exactly as the suite defines
// them; ToQColor (Graphics.h) resolves them for painting.

#include "Graphics.h"

#include <QColor>
#include <cstdint>

using TTMSStyle = uint8_t; // 0-23 are styles; 24-255 get the fallback row

constexpr TColor clBtnFace = TColor(0xFF00000F);
constexpr TColor clHighlight = TColor(0xFF00000D);
// The style number that marks a form not yet styled.
constexpr TTMSStyle kNotYetStyled = 24;
// The menu styler's style as designed, before the suite's style is applied.
constexpr TTMSStyle osOffice2010Silver = 11;

// 14 from start-up until the activation step stores the suite's choice.
extern TTMSStyle CurrentTMSStyle;
// The activation step's rule: max(0, suite style number - 1), low 8 bits.
TTMSStyle StyleFromSuiteNumber(int suiteNumber);

// #RRGGBB written as in the tables -> the colour value 0x00BBGGRR.
constexpr TColor RGBColour(uint32_t rrggbb) {
    return TColor(((rrggbb & 0xFF) << 16) | (rrggbb & 0xFF00) | ((rrggbb >> 16) & 0xFF));
}

TColor StyleTextColour(TTMSStyle s);
TColor StyleBackColour(TTMSStyle s);
TColor StyleSelectionColour(TTMSStyle s);
TColor StyleSelectionTextColour(TTMSStyle s);
TColor StyleHeaderColour(TTMSStyle s);
TColor StyleHeaderTextColour(TTMSStyle s);
TColor StyleMenuGradientStart(TTMSStyle s);
TColor StyleMenuGradientEnd(TTMSStyle s);
