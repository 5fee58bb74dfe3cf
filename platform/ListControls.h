// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// List boxes, radio groups, combo boxes and the date picker.

#include <QButtonGroup>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QListWidget>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <functional>

class TCustomListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;
};

// A list box. With owner drawing on, every entry is drawn by OnDrawItem on
// the list's canvas, with a fixed item height.
class TListBox : public TCustomListBox {
    Q_OBJECT
public:
    using TDrawItem = std::function<void(QPainter &, int index, const QRect &, bool selected)>;
    explicit TListBox(QWidget *parent = nullptr);
    void SetOwnerDraw(int itemHeight, TDrawItem draw);
    int ItemHeight() const { return fItemHeight; }
    const TDrawItem &OnDrawItem() const { return fDraw; }

private:
    int fItemHeight = 13;
    TDrawItem fDraw;
};

// A group of radio buttons, one per item, with the selected index.
class TCustomRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TCustomRadioGroup(QWidget *parent = nullptr);
    void SetItems(const QStringList &items);
    int Count() const { return int(fGroup->buttons().size()); }
    // -1 when none is selected.
    int ItemIndex() const { return fGroup->checkedId(); }
    void SetItemIndex(int i);

private:
    QButtonGroup *fGroup;
};

class TRadioGroup : public TCustomRadioGroup {
    Q_OBJECT
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

class TElRadioGroup : public TCustomRadioGroup {
    Q_OBJECT
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

class TAdvOfficeRadioGroup : public TCustomRadioGroup {
    Q_OBJECT
public:
    using TCustomRadioGroup::TCustomRadioGroup;
};

// A combo box with optional sorting and an automatic history: the edited
// text joins the items when the history is brought up to date.
class TElComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TElComboBox(QWidget *parent = nullptr) : QComboBox(parent) { setEditable(true); }
    bool Sorted = false;
    bool AutoHistory = false;
    void AutoHistoryUpdate();
    QStringList Items() const;
    void SetItems(const QStringList &items);
};

class TAdvCustomComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    QStringList Items() const;
    void SetItems(const QStringList &items);
};

// A combo box of fixed items, chosen from and never typed into: the
// settings keep the chosen index only, so that a file without it (or with
// an index out of range) leaves the design choice.
class TChoiceComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TChoiceComboBox(const QStringList &items, QWidget *parent = nullptr)
        : QComboBox(parent) {
        addItems(items);
    }
};

class TElDateTimePicker : public QDateTimeEdit {
    Q_OBJECT
public:
    using QDateTimeEdit::QDateTimeEdit;
};
