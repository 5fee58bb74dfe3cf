// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpContext.h"

#include "HelpViewer.h"

#include <QApplication>
#include <QShortcut>
#include <QVariant>
#include <QWidget>

int HelpContextOf(const QWidget *w) {
    return w ? w->property("HelpContext").toInt() : 0;
}

void SetHelpContext(QWidget *w, int helpContext) {
    w->setProperty("HelpContext", helpContext);
}

void InstallF1Help(QWidget *form) {
    auto *f1 = new QShortcut(QKeySequence(Qt::Key_F1), form);
    f1->setContext(Qt::WindowShortcut);
    QObject::connect(f1, &QShortcut::activated, form, [form] {
        int context = 0;
        for (QWidget *w = QApplication::focusWidget(); w && context <= 0; w = w->parentWidget()) {
            context = HelpContextOf(w);
            if (w == form)
                break;
        }
        if (context <= 0)
            context = HelpContextOf(form);
        ShowHelpContextOrSay(context);
    });
}
