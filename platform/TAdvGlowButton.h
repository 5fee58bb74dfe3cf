// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A push button; the glow styling belongs to the visual-style system.

#include <QPushButton>

class TAdvGlowButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;
    // Index into the image list the button is given; -1 for none.
    int ImageIndex = -1;
};
