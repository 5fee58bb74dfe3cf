// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Help context numbers of widgets, and F1.
//
// A widget's help context is its "HelpContext" property (0 when unset), so
// any widget class can carry one without deriving from anything.

class QWidget;

int HelpContextOf(const QWidget *w);
void SetHelpContext(QWidget *w, int helpContext);

// F1 anywhere in `form` shows, in the help viewer, the first positive
// context from the focused widget up to the form, whatever the suite's help
// access mode.
void InstallF1Help(QWidget *form);
