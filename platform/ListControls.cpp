// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListControls.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {

// Hands the drawing of each entry to the list box's OnDrawItem.
class TOwnerDrawDelegate : public QStyledItemDelegate {
public:
    explicit TOwnerDrawDelegate(TListBox *list) : QStyledItemDelegate(list), fList(list) {}
    void paint(QPainter *p, const QStyleOptionViewItem &opt,
               const QModelIndex &index) const override {
        if (!fList->OnDrawItem()) {
            QStyledItemDelegate::paint(p, opt, index);
            return;
        }
        p->save();
        p->setFont(fList->font());
        fList->OnDrawItem()(*p, index.row(), opt.rect, opt.state & QStyle::State_Selected);
        p->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem &opt, const QModelIndex &index) const override {
        QSize s = QStyledItemDelegate::sizeHint(opt, index);
        s.setHeight(fList->ItemHeight());
        return s;
    }

private:
    TListBox *fList;
};

} // namespace

TListBox::TListBox(QWidget *parent) : TCustomListBox(parent) {}

void TListBox::SetOwnerDraw(int itemHeight, TDrawItem draw) {
    fItemHeight = itemHeight;
    fDraw = std::move(draw);
    setUniformItemSizes(true);
    setItemDelegate(new TOwnerDrawDelegate(this));
}

TCustomRadioGroup::TCustomRadioGroup(QWidget *parent)
    : QGroupBox(parent), fGroup(new QButtonGroup(this)) {
    new QVBoxLayout(this);
}

void TCustomRadioGroup::SetItems(const QStringList &items) {
    for (QAbstractButton *b : fGroup->buttons()) {
        fGroup->removeButton(b);
        delete b;
    }
    int id = 0;
    for (const QString &caption : items) {
        auto *b = new QRadioButton(caption, this);
        layout()->addWidget(b);
        fGroup->addButton(b, id++);
    }
}

void TCustomRadioGroup::SetItemIndex(int i) {
    if (QAbstractButton *b = fGroup->button(i)) {
        b->setChecked(true);
        return;
    }
    if (QAbstractButton *b = fGroup->checkedButton()) {
        fGroup->setExclusive(false);
        b->setChecked(false);
        fGroup->setExclusive(true);
    }
}

namespace {
QStringList ItemsOf(const QComboBox *c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out.append(c->itemText(i));
    return out;
}
void SetItemsOf(QComboBox *c, const QStringList &items) {
    c->clear();
    c->addItems(items);
    c->setCurrentIndex(-1);
}
} // namespace

void TElComboBox::AutoHistoryUpdate() {
    const QString t = currentText();
    if (t.isEmpty() || findText(t, Qt::MatchExactly) >= 0)
        return;
    insertItem(0, t);
    setCurrentIndex(0);
}

QStringList TElComboBox::Items() const {
    return ItemsOf(this);
}
void TElComboBox::SetItems(const QStringList &items) {
    SetItemsOf(this, items);
}
QStringList TAdvCustomComboBox::Items() const {
    return ItemsOf(this);
}
void TAdvCustomComboBox::SetItems(const QStringList &items) {
    SetItemsOf(this, items);
}
