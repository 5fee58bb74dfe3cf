// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menu components the data module and the stylable forms hold: menu
// items with the suite's function numbers, main and popup menus, and the
// menu styler.
//
// A menu item is a QObject owned (as its QObject parent) by the module or
// form that creates it, at every depth; the tree of sub-items is kept apart
// from ownership, so a parent item never frees its sub-items.

#include "ShortCuts.h"
#include "TMSStyles.h"

#include <QIcon>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QString>
#include <array>
#include <functional>
#include <vector>

class QMenu;
class QWidget;

using TImageList = QList<QIcon>;

class TMenuItem : public QObject {
    Q_OBJECT
public:
    explicit TMenuItem(QObject *owner, const QString &name = {}, const QString &caption = {},
                       int tag = 0, TShortCut shortCut = 0);

    QString Caption;
    int Tag = 0;
    TShortCut ShortCut = 0;
    bool Checked = false;
    int ImageIndex = -1;
    int HelpContext = 0;
    std::function<void(QObject *sender)> OnClick;

    void Add(TMenuItem *item);
    int Count() const { return int(fItems.size()); }
    TMenuItem *Items(int i) const { return fItems[size_t(i)]; }
    TMenuItem *Parent() const { return fParent; }
    bool IsLine() const { return Caption == QLatin1String("-"); }
    void Click();

private:
    std::vector<TMenuItem *> fItems;
    TMenuItem *fParent = nullptr;
};

class TAdvMenuOfficeStyler : public QObject {
    Q_OBJECT
public:
    explicit TAdvMenuOfficeStyler(QObject *owner) : QObject(owner) {}
    struct TGradientBar {
        TColor Color = clBtnFace;   // gradient colour 0
        TColor ColorTo = clBtnFace; // gradient colour 1
    };
    TTMSStyle Style = osOffice2010Silver;
    // The three bars the styler paints with a gradient: the menu bar, the
    // selected item and the side bar of a drop-down.
    std::array<TGradientBar, 3> GradientBars;
    void SetComponentStyle(TTMSStyle style) { Style = style; }
};

// What main and popup menus share: the item tree, the images, the styler
// and the update bracket that holds repaints while a style changes.
class TAdvMenu : public QObject {
    Q_OBJECT
public:
    explicit TAdvMenu(QObject *owner);
    TMenuItem *Items() const { return fItems; }
    const TImageList *Images = nullptr;
    TAdvMenuOfficeStyler *MenuStyler = nullptr;

    void BeginUpdate() {
        ++fUpdateDepth;
        ++BeginUpdateCalls;
    }
    void EndUpdate() {
        if (fUpdateDepth > 0)
            --fUpdateDepth;
    }
    int UpdateDepth() const { return fUpdateDepth; }
    int BeginUpdateCalls = 0; // how often an update began; for diagnostics

private:
    TMenuItem *fItems;
    int fUpdateDepth = 0;
};

class TAdvMainMenu : public TAdvMenu {
    Q_OBJECT
public:
    using TAdvMenu::TAdvMenu;
};

class TAdvPopupMenu : public TAdvMenu {
    Q_OBJECT
public:
    using TAdvMenu::TAdvMenu;
};

// A popup whose items may be refreshed just before it opens.
class TPopupActionBar : public TAdvMenu {
    Q_OBJECT
public:
    using TAdvMenu::TAdvMenu;
    std::function<void(QObject *sender)> OnPopup;
    // Runs OnPopup, then shows the items at `globalPos` and returns once the
    // user has chosen or dismissed.
    void Popup(const QPoint &globalPos);
};

// A QMenu holding the sub-items of `item`, each running its OnClick.
QMenu *BuildQMenu(TMenuItem *item, const TImageList *images, QWidget *parent);
