// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A static text, optionally naming the control it labels.

#include <QLabel>

class TLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
    void SetFocusControl(QWidget *w) { setBuddy(w); }
    bool Transparent = true;
};
