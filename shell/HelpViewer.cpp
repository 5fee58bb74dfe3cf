// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"

#include "Dialogs.h"
#include "UrlOpener.h"
#include "qlbuf.h"
#include "quillon_minimal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString ShippedHelpFolder(const QString &programFolder) {
    // The installed layout before the build tree's: <prefix>/help could be
    // anyone's.
    for (const char *rel : {"help", "../share/brindle/help", "../help"}) {
        const QString candidate = QDir::cleanPath(programFolder + u'/' + QLatin1String(rel));
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    return QDir::cleanPath(programFolder + QStringLiteral("/help"));
}

QString ShippedHelpFolder() {
    return ShippedHelpFolder(QCoreApplication::applicationDirPath());
}

QString HelpInUse() {
    const QString chosen = GetHelpfilename();
    // A help folder that has gone (a moved build, a stale choice, the
    // default next to an installed program) falls back to the shipped pages.
    return QFileInfo::exists(chosen) ? chosen : ShippedHelpFolder();
}

QString HelpPageOf(int helpContext) {
    const QString help = HelpInUse();
    QString page = help;
    if (QFileInfo(help).isDir()) {
        page = help + u'/' + HelpTopicName(helpContext) + QStringLiteral(".htm");
        if (!QFileInfo::exists(page))
            page = help + QStringLiteral("/getting_started.htm");
    }
    return page;
}

bool ShowHelpContext(int helpContext) {
    return OpenUrlWithService(QUrl::fromLocalFile(HelpPageOf(helpContext)));
}

void ShowHelpContextOrSay(int helpContext) {
    const QString page = HelpPageOf(helpContext);
    if (OpenUrlWithService(QUrl::fromLocalFile(page)))
        return;
    suite::FormCentredMessageDlg(
        nullptr, suite::Global_TimedOut,
        QStringLiteral("No browser could be started to show the help.\nThe help page is:\n%1")
            .arg(QDir::toNativeSeparators(page)),
        suite::TMsgDlgType::Error, suite::mbOK, 0);
}
