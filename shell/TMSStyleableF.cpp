// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSStyleableF.h"

#include "EditControls.h"
#include "ListControls.h"
#include "MenuComponents.h"
#include "MyStyledTMSComponents.h"
#include "TAdvGlowButton.h"
#include "TAdvSplitter.h"
#include "TMSComponentStyles.h"

#include <QEvent>
#include <QStatusBar>

TTMSStylableForm::TTMSStylableForm(QWidget *parent) : TForm(parent) {}

bool TTMSStylableForm::event(QEvent *e) {
    if (e->type() == QEvent::WindowActivate)
        ActivateZorador(this);
    return TForm::event(e);
}

void TTMSStylableForm::ActivateZorador(QObject *) {
    if (!isVisible() || currentStyle == CurrentTMSStyle)
        return;
    currentStyle = CurrentTMSStyle;
    ApplyStyleToForm(CurrentTMSStyle);
}

void TTMSStylableForm::SetComponentStyle(TTMSStyle AStyle) {
    // Under a dark desktop the form keeps the desktop's background, which
    // its bars and labels show through.
    if (DesktopIsDark())
        return;
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(StyleBackColour(AStyle)));
    setPalette(p);
    setAutoFillBackground(true);
}

namespace {

void SetColour(QWidget *w, QPalette::ColorRole role, TColor c) {
    QPalette p = w->palette();
    p.setColor(role, ToQColor(c));
    w->setPalette(p);
}

bool InheritsAny(const QObject *o, std::initializer_list<const char *> names) {
    for (const char *n : names)
        if (o->inherits(n))
            return true;
    return false;
}

// The first popup or main menu the form owns, whichever comes first.
TAdvMenu *FormMenu(QWidget *form) {
    for (QObject *c : form->children())
        if (qobject_cast<TAdvPopupMenu *>(c) || qobject_cast<TAdvMainMenu *>(c))
            return static_cast<TAdvMenu *>(c);
    return nullptr;
}

void ApplyControlRule(QWidget *c, TTMSStyle style) {
    const TColor back = StyleBackColour(style), text = StyleTextColour(style);
    // Under a dark desktop the text panes, lists and the status bar keep the
    // desktop's colours.
    if (DesktopIsDark() && (qobject_cast<TMemo *>(c) || qobject_cast<TCustomListBox *>(c) ||
                            qobject_cast<QStatusBar *>(c) ||
                            InheritsAny(c, {"TElPanel", "TRichEdit", "TCheckListBox"})))
        return;
    if (qobject_cast<TMemo *>(c) || InheritsAny(c, {"TElPanel", "TRichEdit"})) {
        c->setAutoFillBackground(true);
        SetColour(c, QPalette::Window, back);
        SetColour(c, QPalette::Base, back);
        SetColour(c, QPalette::Text, text);
        SetColour(c, QPalette::WindowText, text);
    } else if (auto *styled = qobject_cast<TStyledColumnListbox *>(c)) {
        styled->SetComponentStyle(style);
    } else if (c->inherits("TCheckListBox")) {
        SetColour(c, QPalette::Base, back);
        SetColour(c, QPalette::Text, text);
        c->setProperty("HeaderColor", ToQColor(StyleSelectionColour(style)));
        c->setProperty("HeaderFontColor", ToQColor(StyleSelectionTextColour(style)));
    } else if (qobject_cast<TCustomListBox *>(c)) {
        SetColour(c, QPalette::Base, back);
        SetColour(c, QPalette::Text, text);
    } else if (qobject_cast<QStatusBar *>(c)) {
        c->setAutoFillBackground(true);
        SetColour(c, QPalette::Window, back);
    } else if (qobject_cast<TAdvSplitter *>(c) || qobject_cast<TAdvGlowButton *>(c) ||
               InheritsAny(c, {"TAdvSmoothProgressBar", "TAdvSmoothListBox", "TAdvToolButton",
                               "TAdvSmoothButton"})) {
        TMSSetComponentStyle(c, style);
    } else if (c->inherits("TAdvOfficeComboBox")) {
        TMSSetAppearanceStyle(c, style);
    }
}

void WalkControls(QWidget *w, TTMSStyle style) {
    ApplyControlRule(w, style);
    for (QObject *child : w->children())
        if (child->isWidgetType())
            WalkControls(static_cast<QWidget *>(child), style);
}

} // namespace

void TTMSStylableForm::ApplyStyleToForm(TTMSStyle style) {
    TAdvMenu *menu = FormMenu(this);
    if (menu)
        menu->BeginUpdate();
    SetComponentStyle(style);

    TAdvMenuOfficeStyler *menuStyler = nullptr;
    for (QObject *c : children()) {
        if (auto *styler = qobject_cast<TAdvMenuOfficeStyler *>(c)) {
            menuStyler = styler;
            styler->SetComponentStyle(style);
        } else if (InheritsAny(c, {"TAdvOfficeStatusBarOfficeStyler", "TAdvPanelStyler"})) {
            TMSSetComponentStyle(c, style);
        } else if (c->inherits("TAdvOfficePagerOfficeStyler")) {
            TMSSetOfficePagerStyle(c, style);
        }
    }

    WalkControls(this, style);

    if (menu) {
        if (qobject_cast<TAdvPopupMenu *>(menu) && menuStyler)
            menu->MenuStyler = menuStyler;
        menu->EndUpdate();
    }
}
