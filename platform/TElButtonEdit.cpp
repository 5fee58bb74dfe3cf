// SPDX-License-Identifier: GPL-3.0-or-later
#include "TElButtonEdit.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

TElButtonEdit::TElButtonEdit(QWidget *parent)
    : QWidget(parent), fEdit(new QLineEdit(this)), fButton(new QToolButton(this)) {
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(fEdit, 1);
    layout->addWidget(fButton);
    fButton->setText(QStringLiteral("..."));
    // Reached by Tab like any button, so the dialog opens from the keyboard.
    fButton->setFocusPolicy(Qt::StrongFocus);
    fButton->setToolTip(QStringLiteral("Browse"));
    setFocusProxy(fEdit);
    // A caption's Alt+letter gives focus only to a widget that takes it; the
    // proxy then hands it to the edit (and keeps this box out of the Tab
    // chain).
    setFocusPolicy(fEdit->focusPolicy());
    connect(fButton, &QToolButton::clicked, this, [this] { Browse(); });
}

QString TElButtonEdit::Text() const {
    return fEdit->text();
}

void TElButtonEdit::SetText(const QString &t) {
    fEdit->setText(t);
}
