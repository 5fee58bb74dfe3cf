// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Applying the suite's screen typeface to a window's controls.

#include "Graphics.h"

#include <QString>
#include <cstdint>

class QObject;

namespace app {

// The screen typeface of the suite's text settings.
struct TTypeface {
    uint8_t charset = 0;
    uint8_t size = 8; // points
    QString name;
};

// Applies `typeface` (with `textColour`) to `component` by the first rule
// that fits its class, then to every component it owns. A control keeps its
// parent's font unless it has one of its own, as the rules say per class.
// The tag the rules test is the integer property "Tag".
void ApplyTypeface(QObject *component, const TTypeface &typeface, TColor textColour);

// The screen typeface of the suite's text settings.
TTypeface SuiteScreenTypeface();
// Applies the suite's screen typeface, in the suite's text colour, to
// `component` and everything it owns.
void ApplySuiteTypeface(QObject *component);
// Applies it to every window of the application. The argument is the
// activation step's completion value and is not used.
void ApplyTypefaceToAllForms(int32_t);

} // namespace app
