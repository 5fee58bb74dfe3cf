// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplyTypeface.h"

#include "EditControls.h"
#include "ListControls.h"
#include "SharedVariables.h"
#include "SpinEdits.h"
#include "TForm.h"
#include "TLabel.h"
#include "qlbuf.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>

namespace app {

namespace {

int Tag(const QObject *o) {
    return o->property("Tag").toInt();
}
bool OwnFont(const QWidget *w) {
    return w->testAttribute(Qt::WA_SetFont);
}

void SetFont(QWidget *w, const TTypeface &tf, TColor colour, int pointSize = 0) {
    QFont f = w->font();
    f.setFamily(tf.name);
    if (pointSize > 0)
        f.setPointSize(pointSize);
    w->setFont(f);
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, ToQColor(colour));
    pal.setColor(QPalette::Text, ToQColor(colour));
    w->setPalette(pal);
}

void ApplyOne(QObject *o, const TTypeface &tf, TColor colour) {
    auto *w = qobject_cast<QWidget *>(o);
    if (!w)
        return;
    if (auto *spin = dynamic_cast<TElSpinEdit *>(o); spin && Tag(o) != 0) {
        spin->setValue(tf.size);
    } else if (dynamic_cast<TElEdit *>(o) || dynamic_cast<TElComboBox *>(o)) {
        SetFont(w, tf, colour);
    } else if (auto *label = dynamic_cast<TLabel *>(o)) {
        label->setAutoFillBackground(false);
        if (OwnFont(w))
            SetFont(w, tf, colour);
    } else if ((dynamic_cast<TMemo *>(o) || dynamic_cast<TElMemo *>(o)) && OwnFont(w)) {
        SetFont(w, tf, colour, std::max<int>(8, tf.size));
    }
}

} // namespace

void ApplyTypeface(QObject *component, const TTypeface &typeface, TColor textColour) {
    ApplyOne(component, typeface, textColour);
    const QObjectList owned = component->children();
    for (QObject *o : owned)
        ApplyTypeface(o, typeface, textColour);
}

TTypeface SuiteScreenTypeface() {
    TTextSettings settings;
    GetTextSettings(settings);
    const TScreenTypeface face = settings.ScreenTypeface();
    return {face.charset, face.size, face.name};
}

void ApplySuiteTypeface(QObject *component) {
    ApplyTypeface(component, SuiteScreenTypeface(), global_colours_and_typefaces.TextColour());
}

void ApplyTypefaceToAllForms(int32_t) {
    const TTypeface typeface = SuiteScreenTypeface();
    const TColor colour = global_colours_and_typefaces.TextColour();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<TForm *>(w))
            ApplyTypeface(w, typeface, colour);
}

} // namespace app
