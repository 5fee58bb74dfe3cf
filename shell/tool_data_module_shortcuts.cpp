// SPDX-License-Identifier: GPL-3.0-or-later
// The data module's customisable menu operations: shortcuts, check marks and
// right-click marks shared with the suite.

#include "RuntimeServices.h"
#include "customise_menuU.h"
#include "qlbuf.h"
#include "tool_data_module.h"

#include <array>

void TDataModuleQuillon::ForEachMenuItem(const std::function<void(TMenuItem *)> &operation) {
    const std::function<void(TMenuItem *)> walk = [&](TMenuItem *item) {
        operation(item);
        for (int i = 0; i < item->Count(); ++i)
            walk(item->Items(i));
    };
    for (QObject *child : children())
        if (auto *item = qobject_cast<TMenuItem *>(child))
            walk(item);
}

void TDataModuleQuillon::UpdateAllMenuShortCutsFromTextbuf() {
    ForEachMenuItem([](TMenuItem *item) {
        if (item->Tag > 0)
            item->ShortCut = GetMenuShortcut(item->Tag, 0);
    });
    RebuildCustomisableMenuItems();
}

bool TDataModuleQuillon::SetAnyMenuItemsChecked() {
    ForEachMenuItem([](TMenuItem *item) {
        if (item->Tag > 0 && CheckableMenuItems.Contains(item->Tag))
            item->Checked = GetMenuItemChecked(item->Tag);
    });
    return false;
}

std::vector<TMenuItem *> TDataModuleQuillon::AllMainMenuItemsAsList(TAdvMainMenu *AMainMenu) {
    std::vector<TMenuItem *> list;
    const std::function<void(TMenuItem *)> add = [&](TMenuItem *parent) {
        for (int i = 0; i < parent->Count(); ++i) {
            TMenuItem *item = parent->Items(i);
            if (item->IsLine())
                continue;
            list.push_back(item);
            add(item);
        }
    };
    add(AMainMenu->Items());
    return list;
}

void TDataModuleQuillon::RebuildCustomisableMenuItems() {
    PopupMenuItems->Clear();
    CustomisableMenuItems->Clear();
    for (TMenuItem *item : AllMainMenuItemsAsList(MainMenuDModule)) {
        if (item->IsLine() || item->Caption == QLatin1String("o") || item->Count() > 0 ||
            !IsCustomisableMenuTag(item->Tag))
            continue;
        item->Checked = CheckableMenuItems.Contains(item->Tag) && GetMenuItemChecked(item->Tag);
        item->Caption = StripHotkey(item->Caption);
        if (GetPopupMenuTagInUse(item->Tag))
            PopupMenuItems->AddOne({item, item->Tag});
        CustomisableMenuItems->AddOne({item, item->Tag});
    }
    if (CustomisableMenuItems->Count() > 1)
        CustomisableMenuItems->SortByCaption();
}

QString TDataModuleQuillon::TagToCustomisableMenuCaption(int ATag) const {
    const int i = CustomisableMenuItems->TagIndexOf(ATag);
    return i < 0 ? QString() : CustomisableMenuItems->MenuItemAt(i)->Caption;
}

QString TDataModuleQuillon::GetAMainMenuCaptionByTag(int tag) const {
    TMenuItem *root = MainMenuDModule->Items();
    for (int i = 0; i < root->Count(); ++i) {
        TMenuItem *top = root->Items(i);
        if (top->Tag == tag)
            return top->Caption;
        for (int j = 0; j < top->Count(); ++j)
            if (top->Items(j)->Tag == tag)
                return top->Items(j)->Caption;
    }
    return {};
}

int TDataModuleQuillon::CustomisableTagOfCaption(const QString &aCaption) const {
    const int i = CustomisableMenuItems->CaptionIndexOf(aCaption);
    return i < 0 ? -1 : CustomisableMenuItems->TagNumAt(i);
}

void TDataModuleQuillon::SetRightClickMenuItems(const QStringList *AList) {
    if (!AList)
        return;
    ClearPopupMenuTagsInUse();
    const qsizetype n = std::min<qsizetype>(AList->size(), 10);
    for (qsizetype i = 0; i < n; ++i) {
        QString line = AList->at(i);
        const qsizetype colon = line.indexOf(u':');
        if (colon >= 0)
            line.truncate(colon);
        // Trims control characters as well as blanks.
        qsizetype b = 0, e = line.size();
        while (b < e && line[b].unicode() <= 0x20)
            ++b;
        while (e > b && line[e - 1].unicode() <= 0x20)
            --e;
        const int tag = CustomisableTagOfCaption(line.mid(b, e - b));
        if (tag >= 0)
            SetPopupMenuTagInUse(tag, true);
    }
}

void TDataModuleQuillon::CheckMenuCompatibility(QString &popupstr) const {
    const qsizetype p = popupstr.indexOf(u':');
    if (p < 0 || p == popupstr.size() - 1)
        return;
    const QString caption = popupstr.left(p);
    const TShortCut sc = TextToShortCut(popupstr.mid(p + 1));
    const TCustomisableMenuItemsList &items = *CustomisableMenuItems;
    for (int i = 0; i < items.Count(); ++i) {
        const TMenuItem *m = items.MenuItemAt(i);
        if (m->ShortCut == sc && m->Caption != caption) {
            popupstr = caption;
            break;
        }
    }
    // Last, so that it wins when both apply.
    for (int i = 0; i < items.Count(); ++i) {
        const TMenuItem *m = items.MenuItemAt(i);
        if (m->Caption == caption && m->ShortCut != sc) {
            popupstr = caption + u':' + ShortCutToText(m->ShortCut);
            break;
        }
    }
}

bool TDataModuleQuillon::ShortcutAlreadyInUse(int ATag, const QString &FunctionName,
                                              TShortCut aShortcut) const {
    std::array<TShortCut, kMenuTags> current{};
    GetMenuCurrentShortcuts(current.data());
    if (FunctionName.isEmpty() || aShortcut == 0)
        return false;
    for (int tag = 0; tag < kMenuTags; ++tag) {
        if (tag == ATag || current[size_t(tag)] != aShortcut)
            continue;
        // A holder deeper in the menu has no caption we can name: refuse
        // without a message rather than name the wrong function.
        const QString other = GetAMainMenuCaptionByTag(tag);
        if (!other.isEmpty())
            MenuShortcutAlreadyInUse(nullptr, ShortCutToText(aShortcut), FunctionName, other);
        return true;
    }
    return false;
}

bool TDataModuleQuillon::TryToSetAShortCut(int ATag, const QString &FunctionName,
                                           TShortCut aShortcut) {
    if (ShortcutAlreadyInUse(ATag, FunctionName, aShortcut))
        return false;
    SetMenuShortcut(ATag, 0, aShortcut);
    return true;
}

bool TDataModuleQuillon::TryToSetAShortCut(TMenuItem *AMenuItem, TShortCut aShortcut) {
    if (!TryToSetAShortCut(AMenuItem->Tag, AMenuItem->Caption, aShortcut))
        return false;
    AMenuItem->ShortCut = aShortcut;
    return true;
}
