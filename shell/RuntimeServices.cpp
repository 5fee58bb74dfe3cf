// SPDX-License-Identifier: GPL-3.0-or-later
#include "RuntimeServices.h"

#include "Dialogs.h"

#include <QLocale>

const TMenuTagSet CheckableMenuItems{29, 30, 31, 32, 33, 100, 101, 102};

bool no_check_exit = false;

QString QuillonHelpURL() {
    QString base = qEnvironmentVariable("QUILLON_HELP_URL");
    if (base.isEmpty())
        return QStringLiteral("help/");
    if (!base.endsWith(u'/'))
        base += u'/';
    return base;
}

void CheckExec(bool started, const QString &what) {
    if (started)
        return;
    suite::FormCentredMessageDlg(nullptr, suite::Global_TimedOut,
                                 QStringLiteral("Could not start the %1.").arg(what),
                                 suite::TMsgDlgType::Error, suite::mbOK, 0);
}

bool IsANumber(const QString &text) {
    const QString t = text.trimmed();
    const QChar localPoint = QLocale::system().decimalPoint().front();
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        ++i;
    bool digits = false, point = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9')
            digits = true;
        else if ((c == u'.' || c == localPoint) && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

void MenuShortcutAlreadyInUse(QWidget *owner, const QString &shortcutText, const QString &caption,
                              const QString &otherCaption) {
    suite::FormCentredMessageDlg(
        owner, suite::Global_TimedOut,
        QStringLiteral("%1 cannot be given to \"%2\": it already belongs to \"%3\".")
            .arg(shortcutText, caption, otherCaption),
        suite::TMsgDlgType::Warning, suite::mbOK, 0);
}
