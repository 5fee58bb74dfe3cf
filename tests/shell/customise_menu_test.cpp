// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefaultMenuShortcuts.h"
#include "MainMenuResource.h"
#include "RuntimeServices.h"
#include "ShellTestSupport.h"
#include "customise_menuU.h"
#include "qlbuf.h"
#include "tool_data_module.h"

#include <map>
#include <set>

namespace {

TMenuItem *Named(const TDataModuleQuillon &m, const char *name) {
    TMenuItem *item = m.MenuItemNamed(QLatin1String(name));
    EXPECT_NE(item, nullptr) << name;
    return item;
}

} // namespace

// --- The resource menu

TEST(MainMenuResource, FollowsTheTagTable) {
    std::map<int, int> perTag;
    std::set<int> functionTags;
    int shortcuts = 0, topLevel = 0;
    for (const TMenuResourceRow &row : MainMenuResource()) {
        ++perTag[row.tag];
        if (row.depth == 0) {
            ++topLevel;
            EXPECT_TRUE(row.tag == -2 || row.tag == -3 || row.tag == -4) << row.name;
        }
        if (row.tag > 0) {
            EXPECT_LE(row.tag, 198);
            EXPECT_TRUE(functionTags.insert(row.tag).second) << "tag used twice: " << row.tag;
        }
        shortcuts += row.shortCut != 0;
        // The shared settings' defaults are the designed shortcuts.
        if (row.tag > 0) {
            EXPECT_EQ(DefaultMenuShortcut(row.tag), row.shortCut) << row.name;
        }
    }
    EXPECT_EQ(MainMenuResource().size(), 176u);
    EXPECT_EQ(topLevel, 7);
    EXPECT_EQ(perTag[-2], 5);
    EXPECT_EQ(perTag[-3], 1);
    EXPECT_EQ(perTag[-4], 1);
    EXPECT_EQ(perTag[-1], 13);
    EXPECT_EQ(perTag[0], 13);
    EXPECT_EQ(functionTags.size(), 143u);
    EXPECT_EQ(shortcuts, 31);
}

class CustomiseMenu : public ShellTest {
protected:
    TDataModuleQuillon module;
};

TEST_F(CustomiseMenu, NamedItemsAndShape) {
    const struct {
        const char *name;
        const char *caption;
        int tag;
    } cases[] = {{"Specific1", "Specific to this Tool", 66},
                 {"SaveAsSameType1", "o", 79},
                 {"Exit1", "Exit", 91},
                 {"FastExit1", "Fast Exit", -1},
                 {"New1", "New", 1}};
    for (const auto &c : cases) {
        const TMenuItem *item = Named(module, c.name);
        EXPECT_EQ(item->Caption, QLatin1String(c.caption)) << c.name;
        EXPECT_EQ(item->Tag, c.tag) << c.name;
    }
    EXPECT_EQ(Named(module, "New1")->ShortCut, 16462); // Ctrl+N as the resource holds it
    // Separators are left out; every other item comes before its sub-items.
    const auto all = TDataModuleQuillon::AllMainMenuItemsAsList(module.MainMenuDModule);
    EXPECT_EQ(all.size(), 176u - 12u);
    EXPECT_EQ(all[0]->objectName(), QStringLiteral("File1"));
    EXPECT_EQ(all[1]->objectName(), QStringLiteral("New1"));
}

TEST_F(CustomiseMenu, RebuildGives122DistinctSortedEntries) {
    const TCustomisableMenuItemsList &list = *module.CustomisableMenuItems;
    ASSERT_EQ(list.Count(), 122);
    for (int i = 1; i < list.Count(); ++i) {
        const QString a = list.MenuItemAt(i - 1)->Caption, b = list.MenuItemAt(i)->Caption;
        EXPECT_LT(a.compare(b, Qt::CaseInsensitive), 0)
            << a.toStdString() << " / " << b.toStdString();
        EXPECT_FALSE(b.contains(u'&')) << b.toStdString();
    }
    // "o", submenu holders (tagged -1 and 0), separators and tag 56 are never
    // customisable.
    for (const char *name : {"SaveAsSameType1", "OpenRecent1", "Details1", "N1", "RecentTexts1"}) {
        const TMenuItem *item = Named(module, name);
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_NE(list.MenuItemAt(i), item) << name;
    }
    EXPECT_EQ(Named(module, "RecentTexts1")->Tag, 56);
    EXPECT_EQ(list.MenuItemAt(-1), nullptr);
    EXPECT_EQ(list.TagNumAt(122), 0);
}

TEST_F(CustomiseMenu, ChecksAndPopupMarksComeFromTheSuite) {
    TMenuItem *toolbar = Named(module, "Toolbar1"); // checkable
    TMenuItem *copy = Named(module, "Copy1");       // not checkable
    ASSERT_TRUE(CheckableMenuItems.Contains(toolbar->Tag));
    ASSERT_FALSE(CheckableMenuItems.Contains(copy->Tag));
    SetMenuItemChecked(toolbar->Tag, true);
    SetMenuItemChecked(copy->Tag, true);
    copy->Checked = true;
    SetPopupMenuTagInUse(Named(module, "Paste1")->Tag, true);
    SetPopupMenuTagInUse(Named(module, "New1")->Tag, true);
    SetPopupMenuTagInUse(Named(module, "RecentTexts1")->Tag, true); // not customisable
    module.RebuildCustomisableMenuItems();

    EXPECT_TRUE(toolbar->Checked);
    EXPECT_FALSE(copy->Checked);
    // In menu order, not sorted.
    ASSERT_EQ(module.PopupMenuItems->Count(), 2);
    EXPECT_EQ(module.PopupMenuItems->MenuItemAt(0)->objectName(), QStringLiteral("New1"));
    EXPECT_EQ(module.PopupMenuItems->MenuItemAt(1)->objectName(), QStringLiteral("Paste1"));

    SetMenuItemChecked(toolbar->Tag, false);
    copy->Checked = true;
    EXPECT_FALSE(module.SetAnyMenuItemsChecked());
    EXPECT_FALSE(toolbar->Checked);
    EXPECT_TRUE(copy->Checked); // outside the checkable set: left alone
}

TEST_F(CustomiseMenu, ShortcutsFollowTheSuite) {
    TMenuItem *copy = Named(module, "Copy1");
    SetMenuShortcut(copy->Tag, 0, scCtrl | 'K');
    module.UpdateAllMenuShortCutsFromTextbuf();
    EXPECT_EQ(copy->ShortCut, scCtrl | 'K');
    // None stored: the suite's default stays; a stored 0 removes it.
    EXPECT_EQ(Named(module, "New1")->ShortCut, scCtrl | 'N');
    EXPECT_EQ(Named(module, "Paste1")->ShortCut, scCtrl | 'V');
    SetMenuShortcut(Named(module, "Paste1")->Tag, 0, 0);
    module.UpdateAllMenuShortCutsFromTextbuf();
    EXPECT_EQ(Named(module, "Paste1")->ShortCut, 0);
    EXPECT_EQ(Named(module, "FastExit1")->ShortCut, 0);
    EXPECT_EQ(module.CustomisableMenuItems->Count(), 122);
}

TEST_F(CustomiseMenu, CaptionLookups) {
    const int copyTag = Named(module, "Copy1")->Tag;
    EXPECT_EQ(module.CustomisableTagOfCaption(QStringLiteral("Copy")), copyTag);
    EXPECT_EQ(module.CustomisableTagOfCaption(QStringLiteral("copy")), -1);
    EXPECT_EQ(module.TagToCustomisableMenuCaption(copyTag), QStringLiteral("Copy"));
    EXPECT_EQ(module.TagToCustomisableMenuCaption(56), QString());
    // Top-level menus and their direct sub-items only.
    EXPECT_EQ(module.GetAMainMenuCaptionByTag(-3), QStringLiteral("&Help"));
    EXPECT_EQ(module.GetAMainMenuCaptionByTag(copyTag), QStringLiteral("Copy"));
    EXPECT_EQ(module.GetAMainMenuCaptionByTag(Named(module, "DetailsFile1")->Tag), QString());

    TCustomisableMenuItemsList mine;
    mine.AddAString(QStringLiteral("Copy"), *module.CustomisableMenuItems);
    mine.AddAString(QStringLiteral("No Such Thing"), *module.CustomisableMenuItems);
    ASSERT_EQ(mine.Count(), 1);
    EXPECT_EQ(mine.TagNumAt(0), copyTag);
    EXPECT_EQ(mine.TagIndexOf(copyTag), 0);
    EXPECT_EQ(mine.TagIndexOfACaption(QStringLiteral("Copy")), copyTag);
}

TEST(CustomisableMenuItemsList, SortFoldsOnlyAsciiLetters) {
    QObject owner;
    TCustomisableMenuItemsList list;
    for (const char *caption : {"beta", "Zeta", "_x", "Alpha"})
        list.AddOne({new TMenuItem(&owner, {}, QLatin1String(caption)), 1});
    list.SortByCaption();
    QStringList order;
    for (int i = 0; i < list.Count(); ++i)
        order << list.MenuItemAt(i)->Caption;
    EXPECT_EQ(order, (QStringList{"_x", "Alpha", "beta", "Zeta"}));
}

TEST_F(CustomiseMenu, RightClickLinesBeyondTenAndCaseAreIgnored) {
    QStringList lines;
    for (const char *name : {"New1", "Open1", "Save1", "Cut1", "Paste1", "Undo1", "Redo1",
                             "Search1", "Replace1", "GoTo1", "Zap1", "Join1"})
        lines << Named(module, name)->Caption;
    lines[0] = QStringLiteral("  \t") + lines[0] + QStringLiteral(" :Ctrl+N");
    module.SetRightClickMenuItems(&lines);
    for (int i = 0; i < lines.size(); ++i)
        EXPECT_EQ(GetPopupMenuTagInUse(
                      module.CustomisableTagOfCaption(i == 0 ? QStringLiteral("New") : lines[i])),
                  i < 10)
            << i;

    const QStringList copy{QStringLiteral("Copy:anything")};
    module.SetRightClickMenuItems(&copy);
    EXPECT_TRUE(GetPopupMenuTagInUse(Named(module, "Copy1")->Tag));
    EXPECT_FALSE(GetPopupMenuTagInUse(Named(module, "New1")->Tag)); // cleared first

    const QStringList lower{QStringLiteral("copy")};
    module.SetRightClickMenuItems(&lower);
    EXPECT_FALSE(GetPopupMenuTagInUse(Named(module, "Copy1")->Tag));

    SetPopupMenuTagInUse(5, true);
    module.SetRightClickMenuItems(nullptr);
    EXPECT_TRUE(GetPopupMenuTagInUse(5));
}

TEST_F(CustomiseMenu, TryToSetAShortCut) {
    TMenuItem *copy = Named(module, "Copy1");        // direct sub-item of Edit
    TMenuItem *deep = Named(module, "DetailsFile1"); // View > Hidden > Details > item
    TMenuItem *inHolder = Named(module, "MarkAll1"); // Edit > Mark > item
    SetMenuShortcut(copy->Tag, 0, scCtrl | 'C');
    SetMenuShortcut(deep->Tag, 0, scCtrl | scShift | 'D');
    SetMenuShortcut(inHolder->Tag, 0, scAlt | 'M');
    const TShortCut free = scCtrl | scAlt | 'Q';

    const struct {
        const char *what;
        int tag;
        const char *name;
        TShortCut sc;
        bool ok;
        size_t messages;
    } cases[] = {
        {"shortcut 0 always succeeds", copy->Tag, "Copy", 0, true, 0},
        {"empty function name always succeeds", 1, "", scCtrl | scShift | 'D', true, 0},
        {"a free shortcut", 1, "New", free, true, 0},
        {"its own shortcut again", copy->Tag + 0, "Copy", scCtrl | 'C', true, 0},
        {"held by a direct sub-item: refused and named", 1, "New", scCtrl | 'C', false, 1},
        {"held under a submenu holder: refused silently", 1, "New", scAlt | 'M', false, 0},
        {"held three levels deep: refused silently", 1, "New", scCtrl | scShift | 'D', false, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        // Each case starts from the three stored shortcuts above.
        SetMenuShortcut(copy->Tag, 0, scCtrl | 'C');
        SetMenuShortcut(1, 0, 0);
        dialogs.shown.clear();
        EXPECT_EQ(module.TryToSetAShortCut(c.tag, QLatin1String(c.name), c.sc), c.ok);
        EXPECT_EQ(dialogs.shown.size(), c.messages);
        if (c.ok)
            EXPECT_EQ(GetMenuShortcut(c.tag, 0), c.sc);
        else
            EXPECT_EQ(GetMenuShortcut(c.tag, 0), 0);
    }
    // The message names the shortcut, the function and the holder.
    dialogs.shown.clear();
    module.TryToSetAShortCut(1, QStringLiteral("New"), scCtrl | 'C');
    ASSERT_EQ(dialogs.shown.size(), 1u);
    for (const char *part : {"Ctrl+C", "New", "Copy"})
        EXPECT_TRUE(dialogs.shown[0].text.contains(QLatin1String(part))) << part;

    // The item form also gives the item its shortcut, but only on success.
    TMenuItem *newItem = Named(module, "New1");
    newItem->ShortCut = 0;
    EXPECT_FALSE(module.TryToSetAShortCut(newItem, scCtrl | 'C'));
    EXPECT_EQ(newItem->ShortCut, 0);
    EXPECT_TRUE(module.TryToSetAShortCut(newItem, free));
    EXPECT_EQ(newItem->ShortCut, free);
}

TEST_F(CustomiseMenu, CheckMenuCompatibility) {
    // As built: New has Ctrl+N, Copy has Ctrl+C, Join has none.
    const struct {
        const char *in, *out;
    } cases[] = {
        {"Copy", "Copy"},                         // no ":"
        {"Copy:", "Copy:"},                       // ":" is the last character
        {"Copy:Ctrl+C", "Copy:Ctrl+C"},           // agrees
        {"Copy:Ctrl+N", "Copy:Ctrl+C"},           // taken by New, and Copy has its own
        {"Elsewhere:Ctrl+N", "Elsewhere"},        // taken by New: dropped
        {"Copy:nonsense", "Copy:Ctrl+C"},         // unparsable: the item's own
        {"Join Entries:Ctrl+J", "Join Entries:"}, // the item has none
        {"Elsewhere:Ctrl+Alt+Q", "Elsewhere:Ctrl+Alt+Q"},
    };
    for (const auto &c : cases) {
        QString s = QLatin1String(c.in);
        module.CheckMenuCompatibility(s);
        EXPECT_EQ(s, QLatin1String(c.out)) << c.in;
    }
}

TEST(ShortCuts, TextFormsBothWays) {
    const struct {
        TShortCut sc;
        const char *text;
    } cases[] = {
        {16462, "Ctrl+N"},
        {scShift | 0x70, "Shift+F1"},
        {scAlt | 0x73, "Alt+F4"},
        {0x2E, "Del"},
        {scCtrl | scShift | 0x09, "Ctrl+Shift+Tab"},
        {0, ""},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ShortCutToText(c.sc), QLatin1String(c.text)) << c.text;
        EXPECT_EQ(TextToShortCut(QLatin1String(c.text)), c.sc) << c.text;
    }
    EXPECT_EQ(TextToShortCut(QStringLiteral("nonsense")), 0);
    EXPECT_EQ(StripHotkey(QStringLiteral("&Print...")), QStringLiteral("Print..."));
    EXPECT_EQ(StripHotkey(QStringLiteral("Save && &Close")), QStringLiteral("Save & Close"));
}
