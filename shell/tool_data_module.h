// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool data module common to the suite's tools: the shared main menu,
// the context-help popup, the menu styler, the lists of customisable menu
// items, and the tool's one entry point for help.
//
// Create it before the main window and free it after: the window's set-up
// applies the suite's shortcuts to this module's menu. It owns every menu
// item at every depth, the menus, the styler and both lists.

#include "MenuComponents.h"
#include "customise_menuU.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QWidget;

class TDataModuleQuillon : public QObject {
    Q_OBJECT
public:
    explicit TDataModuleQuillon(QObject *owner = nullptr);
    ~TDataModuleQuillon() override;

    TAdvMainMenu *MainMenuDModule;
    TPopupActionBar *PopupActionBar1;
    TMenuItem *WhatsThis1;
    TAdvMenuOfficeStyler *AdvMenuOfficeStyler1;
    TCustomisableMenuItemsList *PopupMenuItems = nullptr;
    TCustomisableMenuItemsList *CustomisableMenuItems = nullptr;

    // Items of the menu by name ("Specific1", "Exit1", ...); none if absent.
    TMenuItem *MenuItemNamed(const QString &name) const;

    // --- help
    // The help request for `HelpContext` by the suite's access mode: 0 the
    // help viewer (returns true), 1 the topic's web page, else nothing.
    bool HandleAHelpFileChoice(int HelpContext);
    // The help context of the control under the mouse, climbing to its
    // parents while it has none; 1000 when no control of ours is there.
    int GetTheBestHelpContext();
    static int BestHelpContextOf(QWidget *control);
    void PopupActionBar1Popup(QObject *Sender);
    void WhatsThis1Click(QObject *Sender);
    void SetContextMenuHelp(QWidget *AForm, TPopupActionBar *APopupActionBar);
    void Exit1Click(QObject *Sender);
    void FastExit1Click(QObject *Sender);

    // --- customisable menu items
    void UpdateAllMenuShortCutsFromTextbuf();
    bool SetAnyMenuItemsChecked();
    void RebuildCustomisableMenuItems();
    // Every item but separators, each before its sub-items, in menu order.
    static std::vector<TMenuItem *> AllMainMenuItemsAsList(TAdvMainMenu *AMainMenu);
    QString TagToCustomisableMenuCaption(int ATag) const;
    // Top-level menus and their direct sub-items only.
    QString GetAMainMenuCaptionByTag(int tag) const;
    int CustomisableTagOfCaption(const QString &aCaption) const;
    // Marks the functions named by the first 10 lines ("caption" or
    // "caption:shortcut") as in the suite's right-click menus.
    void SetRightClickMenuItems(const QStringList *AList);
    // Reconciles "caption:shortcut text" with the current shortcuts.
    void CheckMenuCompatibility(QString &popupstr) const;
    bool ShortcutAlreadyInUse(int ATag, const QString &FunctionName, TShortCut aShortcut) const;
    bool TryToSetAShortCut(int ATag, const QString &FunctionName, TShortCut aShortcut);
    bool TryToSetAShortCut(TMenuItem *AMenuItem, TShortCut aShortcut);

private:
    void DataModuleCreate(QObject *Sender);
    void DataModuleDestroy(QObject *Sender);
    // Applies `operation` to every menu item the module owns and to its
    // sub-items; an item may be reached more than once.
    void ForEachMenuItem(const std::function<void(TMenuItem *)> &operation);
};

// The single instance; set while one exists.
extern TDataModuleQuillon *DataModuleQuillon;

// The control under the mouse cursor, disabled ones included; none over
// another program or the desktop.
QWidget *ControlUnderMouse();
