// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuComponents.h"

#include <QMenu>

TMenuItem::TMenuItem(QObject *owner, const QString &name, const QString &caption, int tag,
                     TShortCut shortCut)
    : QObject(owner), Caption(caption), Tag(tag), ShortCut(shortCut) {
    setObjectName(name);
}

void TMenuItem::Add(TMenuItem *item) {
    item->fParent = this;
    fItems.push_back(item);
}

void TMenuItem::Click() {
    if (OnClick)
        OnClick(this);
}

TAdvMenu::TAdvMenu(QObject *owner) : QObject(owner), fItems(new TMenuItem(this)) {}

void TPopupActionBar::Popup(const QPoint &globalPos) {
    if (OnPopup)
        OnPopup(this);
    QMenu *menu = BuildQMenu(Items(), Images, nullptr);
    menu->exec(globalPos);
    delete menu;
}

QMenu *BuildQMenu(TMenuItem *item, const TImageList *images, QWidget *parent) {
    auto *menu = new QMenu(StripHotkey(item->Caption), parent);
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem *sub = item->Items(i);
        if (sub->IsLine()) {
            menu->addSeparator();
        } else if (sub->Count() > 0) {
            menu->addMenu(BuildQMenu(sub, images, menu));
        } else {
            QAction *a = menu->addAction(sub->Caption);
            if (images && sub->ImageIndex >= 0 && sub->ImageIndex < images->size())
                a->setIcon((*images)[sub->ImageIndex]);
            a->setShortcut(ShortCutToKeySequence(sub->ShortCut));
            a->setCheckable(sub->Checked);
            a->setChecked(sub->Checked);
            QObject::connect(a, &QAction::triggered, sub, [sub] { sub->Click(); });
        }
    }
    return menu;
}
