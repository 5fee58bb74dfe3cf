// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool_data_module.h"

#include "HelpContext.h"
#include "HelpViewer.h"
#include "MainMenuResource.h"
#include "My_types.h"
#include "RuntimeServices.h"
#include "Tool_imagelist.h"
#include "qlbuf.h"
#include "quillon_minimal.h"

#include <QApplication>
#include <QCursor>
#include <QWidget>

TDataModuleQuillon *DataModuleQuillon = nullptr;

TDataModuleQuillon::TDataModuleQuillon(QObject *owner)
    : QObject(owner), MainMenuDModule(new TAdvMainMenu(this)),
      PopupActionBar1(new TPopupActionBar(this)),
      WhatsThis1(new TMenuItem(this, QStringLiteral("WhatsThis1"), QStringLiteral("context help"))),
      AdvMenuOfficeStyler1(new TAdvMenuOfficeStyler(this)) {
    setObjectName(QStringLiteral("DataModuleQuillon"));
    MainMenuDModule->setObjectName(QStringLiteral("MainMenuDModule"));
    PopupActionBar1->setObjectName(QStringLiteral("PopupActionBar1"));
    AdvMenuOfficeStyler1->setObjectName(QStringLiteral("AdvMenuOfficeStyler1"));
    MainMenuDModule->MenuStyler = AdvMenuOfficeStyler1;

    BuildMainMenu(MainMenuDModule, this);
    if (TMenuItem *exit = MenuItemNamed(QStringLiteral("Exit1")))
        exit->OnClick = [this](QObject *s) { Exit1Click(s); };
    if (TMenuItem *fastExit = MenuItemNamed(QStringLiteral("FastExit1")))
        fastExit->OnClick = [this](QObject *s) { FastExit1Click(s); };

    WhatsThis1->ImageIndex = 0;
    WhatsThis1->OnClick = [this](QObject *s) { WhatsThis1Click(s); };
    PopupActionBar1->Items()->Add(WhatsThis1);
    PopupActionBar1->OnPopup = [this](QObject *s) { PopupActionBar1Popup(s); };

    DataModuleCreate(this);
    DataModuleQuillon = this;
}

TDataModuleQuillon::~TDataModuleQuillon() {
    DataModuleDestroy(this);
    if (DataModuleQuillon == this)
        DataModuleQuillon = nullptr;
}

void TDataModuleQuillon::DataModuleCreate(QObject *) {
    LoadupTheImageLists();
    MainMenuDModule->Images = &ImageListMain;
    PopupActionBar1->Images = &ImageListMain;
    if (TMenuItem *specific = MenuItemNamed(QStringLiteral("Specific1")))
        specific->ImageIndex = ToolTypeToImageListNumber(current_tool_var);
    CustomisableMenuItems = new TCustomisableMenuItemsList;
    PopupMenuItems = new TCustomisableMenuItemsList;
    RebuildCustomisableMenuItems();
}

void TDataModuleQuillon::DataModuleDestroy(QObject *) {
    delete CustomisableMenuItems;
    CustomisableMenuItems = nullptr;
    delete PopupMenuItems;
    PopupMenuItems = nullptr;
}

TMenuItem *TDataModuleQuillon::MenuItemNamed(const QString &name) const {
    return findChild<TMenuItem *>(name, Qt::FindDirectChildrenOnly);
}

bool TDataModuleQuillon::HandleAHelpFileChoice(int HelpContext) {
    switch (GetQLHelpAccessMode()) {
    case 0:
        ShowHelpContextOrSay(HelpContext);
        return true;
    case 1:
        OpenInBrowser(HelpTopicURL(HelpContext));
        return false;
    default:
        return false;
    }
}

QWidget *ControlUnderMouse() {
    return QApplication::widgetAt(QCursor::pos());
}

int TDataModuleQuillon::BestHelpContextOf(QWidget *control) {
    if (!control)
        return 1000;
    int context = HelpContextOf(control);
    while (context <= 0 && control->parentWidget()) {
        control = control->parentWidget();
        context = HelpContextOf(control);
    }
    return context;
}

int TDataModuleQuillon::GetTheBestHelpContext() {
    return BestHelpContextOf(ControlUnderMouse());
}

void TDataModuleQuillon::PopupActionBar1Popup(QObject *) {
    WhatsThis1->HelpContext = GetTheBestHelpContext();
}

void TDataModuleQuillon::WhatsThis1Click(QObject *) {
    HandleAHelpFileChoice(WhatsThis1->HelpContext);
}

void TDataModuleQuillon::SetContextMenuHelp(QWidget *AForm, TPopupActionBar *APopupActionBar) {
    AForm->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(AForm, &QWidget::customContextMenuRequested, APopupActionBar,
                     [AForm, APopupActionBar](const QPoint &pos) {
                         APopupActionBar->Popup(AForm->mapToGlobal(pos));
                     });
}

void TDataModuleQuillon::Exit1Click(QObject *) {
    no_check_exit = false;
    QCoreApplication::quit();
}

void TDataModuleQuillon::FastExit1Click(QObject *) {
    no_check_exit = true;
    QCoreApplication::quit();
}
