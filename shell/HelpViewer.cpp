#include "HelpViewer.h"

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

bool ShowHelpContext(int helpContext) {
    const QString help = HelpInUse();
    QString page = help;
    if (QFileInfo(help).isDir()) {
        page = help + u'/' + HelpTopicName(helpContext) + QStringLiteral(".htm");
        if (!QFileInfo::exists(page))
            page = help + QStringLiteral("/getting_started.htm");
    }
    return OpenUrlWithService(QUrl::fromLocalFile(page));
}
