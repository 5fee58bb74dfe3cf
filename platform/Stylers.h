// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Appearance sets of the visual-style system; they hold no state yet.

#include <QObject>

class TAdvOfficePagerOfficeStyler : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};

class TAdvPanelStyler : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};

class TAdvOfficeStatusBarOfficeStyler : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
};
