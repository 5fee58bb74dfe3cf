// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the component library's own style setters do with a style number,
// for the stand-in components that have no setter of their own.
//
// A component that declares `Q_INVOKABLE void SetComponentStyle(int)` (or
// SetOfficePagerStyle / SetAppearanceStyle) is handed the number and styles
// itself; any other is recoloured from the style's table here. Either way
// the number is kept in the object's "TMSStyle" property.

#include "TMSStyles.h"

class QObject;

// True when the desktop's palette is dark (light text on dark fields): the
// style then leaves the text fields, lists and bars in the desktop's
// colours, so that no pane stays light in a dark window.
bool DesktopIsDark();

void TMSSetComponentStyle(QObject *component, TTMSStyle style);
void TMSSetOfficePagerStyle(QObject *component, TTMSStyle style);
void TMSSetAppearanceStyle(QObject *component, TTMSStyle style);
