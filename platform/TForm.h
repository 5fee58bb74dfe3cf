// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The toolkit's form class: a top-level window that owns its components as
// Qt children, in the order they were made.

#include <QWidget>

class TForm : public QWidget {
    Q_OBJECT
public:
    explicit TForm(QWidget *parent = nullptr) : QWidget(parent) {}
};
