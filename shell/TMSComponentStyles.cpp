// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMSComponentStyles.h"

#include "TAdvPanel.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QMetaObject>
#include <QStatusBar>

#include <QWidget>
#include <cstdlib>

bool DesktopIsDark() {
    return QGuiApplication::palette().color(QPalette::Base).lightness() < 128;
}

namespace {

bool InvokeOwnSetter(QObject *component, const char *setter, TTMSStyle style) {
    const QByteArray signature = QByteArray(setter) + "(int)";
    if (component->metaObject()->indexOfMethod(signature.constData()) < 0)
        return false;
    return QMetaObject::invokeMethod(component, setter, Q_ARG(int, int(style)));
}

void SetColours(QWidget *w, TColor back, TColor text) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, ToQColor(back));
    p.setColor(QPalette::Button, ToQColor(back));
    p.setColor(QPalette::Base, ToQColor(back));
    // Texts only for enabled controls: a disabled one keeps the greyed
    // text of its palette, so that it looks as it acts.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            p.setColor(group, role, ToQColor(text));
    w->setPalette(p);
}

// Gradient panels, buttons and bars take the style's menu gradient; stylers
// restyle the panels and status bars of the form that owns them.
void GenericStyle(QObject *component, TTMSStyle style) {
    const TColor start = StyleMenuGradientStart(style), end = StyleMenuGradientEnd(style);
    if (auto *panel = qobject_cast<TAdvPanel *>(component)) {
        panel->GradientFrom = ToQColor(start);
        panel->GradientTo = ToQColor(end);
        panel->update();
    } else if (qobject_cast<QAbstractButton *>(component) || qobject_cast<QComboBox *>(component)) {
        SetColours(static_cast<QWidget *>(component), end, StyleTextColour(style));
    } else if (auto *w = qobject_cast<QWidget *>(component)) {
        // Under a dark desktop a container keeps its colours: those it set
        // would reach every pane inside it.
        if (DesktopIsDark())
            return;
        w->setAutoFillBackground(true);
        SetColours(w, StyleBackColour(style), StyleTextColour(style));
    } else if (component->inherits("TAdvPanelStyler") && component->parent()) {
        for (TAdvPanel *panel : component->parent()->findChildren<TAdvPanel *>())
            GenericStyle(panel, style);
    } else if (component->inherits("TAdvOfficeStatusBarOfficeStyler") && component->parent() &&
               !DesktopIsDark()) {
        // The bar's text must stay readable on the bar whatever the style's
        // header colour: too little contrast gives black or white instead.
        const QColor back = ToQColor(end);
        QColor text = ToQColor(StyleHeaderTextColour(style));
        if (std::abs(text.lightness() - back.lightness()) < 128)
            text = back.lightness() > 127 ? Qt::black : Qt::white;
        for (QStatusBar *bar : component->parent()->findChildren<QStatusBar *>()) {
            bar->setAutoFillBackground(true);
            SetColours(bar, end, StyleHeaderTextColour(style));
            QPalette p = bar->palette();
            for (QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
                p.setColor(role, text);
            bar->setPalette(p);
        }
    }
}

void Style(QObject *component, const char *setter, TTMSStyle style) {
    component->setProperty("TMSStyle", int(style));
    if (!InvokeOwnSetter(component, setter, style))
        GenericStyle(component, style);
}

} // namespace

void TMSSetComponentStyle(QObject *component, TTMSStyle style) {
    Style(component, "SetComponentStyle", style);
}

void TMSSetOfficePagerStyle(QObject *component, TTMSStyle style) {
    Style(component, "SetOfficePagerStyle", style);
}

void TMSSetAppearanceStyle(QObject *component, TTMSStyle style) {
    Style(component, "SetAppearanceStyle", style);
}
