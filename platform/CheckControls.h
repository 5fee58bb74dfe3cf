// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Check boxes, radio buttons and the check group.

#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

class TCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
};

class TElCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
};

// An office check box; with its caption on the left of the box.
class TAdvOfficeCheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;
    void SetCaptionOnLeft() { setLayoutDirection(Qt::RightToLeft); }
};

// A radio button whose check mark can be cleared directly, as the settings
// restore does; Qt refuses to uncheck an exclusive button otherwise.
class TRadioButtonBase : public QRadioButton {
    Q_OBJECT
public:
    using QRadioButton::QRadioButton;
    void SetChecked(bool on) {
        const bool excl = autoExclusive();
        setAutoExclusive(on && excl);
        setChecked(on);
        setAutoExclusive(excl);
    }
};

class TRadioButton : public TRadioButtonBase {
    Q_OBJECT
public:
    using TRadioButtonBase::TRadioButtonBase;
};

class TElRadioButton : public TRadioButtonBase {
    Q_OBJECT
public:
    using TRadioButtonBase::TRadioButtonBase;
};

class TAdvOfficeRadioButton : public TRadioButtonBase {
    Q_OBJECT
public:
    using TRadioButtonBase::TRadioButtonBase;
};

// A group of check boxes, one per item.
class TElCheckGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TElCheckGroup(QWidget *parent = nullptr) : QGroupBox(parent) { new QVBoxLayout(this); }
    void AddItem(const QString &caption) {
        auto *b = new QCheckBox(caption, this);
        layout()->addWidget(b);
        fItems.append(b);
    }
    int Count() const { return int(fItems.size()); }
    bool Checked(int i) const { return fItems.at(i)->isChecked(); }
    void SetChecked(int i, bool on) { fItems.at(i)->setChecked(on); }

private:
    QList<QCheckBox *> fItems;
};
