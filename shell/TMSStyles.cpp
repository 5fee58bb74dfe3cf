// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSStyles.h"

#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <array>

TTMSStyle CurrentTMSStyle = 14;

TTMSStyle StyleFromSuiteNumber(int suiteNumber) {
    return TTMSStyle(uint32_t(std::max(0, suiteNumber - 1)) & 0xFF);
}

namespace {

struct TStyleRow {
    TColor back, selection, selectionText, header, headerText, gradientStart, gradientEnd;
};

constexpr TColor H(uint32_t rrggbb) {
    return RGBColour(rrggbb);
}

// One row per style 0-23; must match the suite's other programs exactly.
constexpr std::array<TStyleRow, 24> kRows{{
    /* 0 */ {H(0xDAEAFD), H(0x7DA5E0), H(0xFFFFFF), H(0x5583D3), H(0x000000), H(0xDAEAFD),
             H(0xC4DAFA)},
    /* 1 */
    {H(0xF3F3F7), H(0x9896B3), H(0xFFFFFF), H(0xD8D8E6), H(0x000000), H(0xF3F3F7), H(0xD8D8E6)},
    /* 2 */
    {H(0xEAF0CF), H(0xB1C08C), H(0xFFFFFF), H(0xAEBF81), H(0x000000), H(0xEAF0CF), H(0xB1C08C)},
    /* 3 */
    {H(0xFFFFFF), H(0x8592B5), H(0xFFFFFF), H(0x808080), H(0x000000), H(0xFFFFFF), H(0xD5D1C9)},
    /* 4 */
    {H(0xE9F1FA), H(0xFFFDEB), H(0x000000), H(0xC5DCF8), H(0x092061), H(0xE9F1FA), H(0xC7D8ED)},
    /* 5 */
    {H(0xC1C6CF), H(0xFFFDEB), H(0x000000), H(0x9E9FA1), H(0xFFFFFF), H(0xE5ECEC), H(0xB4BBC5)},
    /* 6 */
    {clBtnFace, clHighlight, H(0xFFFFFF), H(0xFFFFFF), H(0x000000), H(0xFFFFFF), H(0xD5D1C9)},
    /* 7 */
    {H(0xFFFFFF), H(0x7DA5E0), H(0xFFFFFF), H(0xEFEEEB), H(0x000000), H(0xFFFDEB), H(0xECE9D9)},
    /* 8 */
    {H(0xFFFFFF), clHighlight, H(0xFFFFFF), H(0xFFFFFF), H(0x000000), H(0xFFFFFF), H(0xFFFDEB)},
    /* 9 */
    {H(0xEEF1F6), H(0xFFFDEB), H(0x000000), H(0xE7E8EB), H(0x23262A), H(0xF3F5F9), H(0xD5DCE7)},
    /* 10 */
    {H(0xF1F8FD), H(0xF1F8FD), H(0x000000), H(0xD3EDFB), H(0x000000), H(0xECE9D9), H(0xD7F0FD)},
    /* 11 */
    {H(0xDCEBFC), H(0xFAFBFD), H(0x000000), H(0xF1EDED), H(0x000000), H(0xDCEBFC), H(0xC1DBFC)},
    /* 12 */
    {clBtnFace, clHighlight, H(0x000000), H(0xC0C0C0), H(0x000000), H(0xFFFFFF), H(0xC0C0C0)},
    /* 13 */
    {H(0xEFF6FD), H(0xFFEE7B), H(0x000000), H(0xDCE8F6), H(0x1F3973), H(0xEFF6FD), H(0xC7DAF0)},
    /* 14 */
    {H(0xFFFFFF), H(0xFFEE7B), H(0x000000), H(0xE6EAEE), H(0x000000), H(0xFFFFFF), H(0xE0E5ED)},
    /* 15 */
    {H(0xBFBFBF), H(0xFFEE7B), H(0x000000), H(0x4B4B4B), H(0xFFFFFF), H(0xBFBFBF), H(0x919191)},
    /* 16 */
    {H(0xFFFFFF), H(0xFFEE7B), H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 17 */
    {H(0xFFFFFF), H(0xFFEE7B), H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 18 */
    {H(0xFFFFFF), H(0xFFEE7B), H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 19 */
    {H(0xFFFFFF), H(0xFFEE7B), H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 20 */
    {H(0xFFFFFF), H(0xFFEE7B), H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 21 */
    {H(0xFFFFFF), clHighlight, H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 22 */
    {H(0xFFFFFF), clHighlight, H(0x000000), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
    /* 23 */
    {H(0xFFFFFF), clHighlight, H(0xFFFFFF), H(0xD4D4D4), H(0x000000), H(0xF6F6F6), H(0xDEDEDE)},
}};

// Numbers past the last style.
constexpr TStyleRow kFallback{H(0xDAEAFD), H(0x7DA5E0), H(0xFFFFFF), clBtnFace,
                              H(0x000000), clBtnFace,   clBtnFace};

const TStyleRow &Row(TTMSStyle s) {
    return s < kRows.size() ? kRows[s] : kFallback;
}

} // namespace

TColor StyleTextColour(TTMSStyle) {
    return H(0x000000);
}
TColor StyleBackColour(TTMSStyle s) {
    return Row(s).back;
}
TColor StyleSelectionColour(TTMSStyle s) {
    return Row(s).selection;
}
TColor StyleSelectionTextColour(TTMSStyle s) {
    return Row(s).selectionText;
}
TColor StyleHeaderColour(TTMSStyle s) {
    return Row(s).header;
}
TColor StyleHeaderTextColour(TTMSStyle s) {
    return Row(s).headerText;
}
TColor StyleMenuGradientStart(TTMSStyle s) {
    return Row(s).gradientStart;
}
TColor StyleMenuGradientEnd(TTMSStyle s) {
    return Row(s).gradientEnd;
}
