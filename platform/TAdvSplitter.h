// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The splitter between the suspect list and the text pane. In Qt the two
// panes live inside the splitter rather than beside it.

#include <QSplitter>

class TAdvSplitter : public QSplitter {
    Q_OBJECT
public:
    explicit TAdvSplitter(Qt::Orientation o, QWidget *parent = nullptr) : QSplitter(o, parent) {
        setHandleWidth(10);
        setChildrenCollapsible(false);
    }
};
