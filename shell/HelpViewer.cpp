#include "HelpViewer.h"

#include "UrlOpener.h"
#include "qlbuf.h"
#include "quillon_minimal.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

QString ShippedHelpFolder() {
    // Next to the program when installed; one folder up in a build tree.
    const QString appDir = QCoreApplication::applicationDirPath();
    for (const char *rel : {"help", "../help", "../share/brindle/help"}) {
        const QString candidate = QDir::cleanPath(appDir + u'/' + QLatin1String(rel));
        if (QFileInfo(candidate).isDir())
            return candidate;
    }
    return QDir::cleanPath(appDir + QStringLiteral("/help"));
}

bool ShowHelpContext(int helpContext) {
    QString help = GetHelpfilename();
    // A help folder that has gone (a moved build, a stale choice) falls back
    // to the pages installed with the program.
    if (!QFileInfo::exists(help))
        help = ShippedHelpFolder();
    QString page = help;
    if (QFileInfo(help).isDir()) {
        page = help + u'/' + HelpTopicName(helpContext) + QStringLiteral(".htm");
        if (!QFileInfo::exists(page))
            page = help + QStringLiteral("/getting_started.htm");
    }
    return OpenUrlWithService(QUrl::fromLocalFile(page));
}
