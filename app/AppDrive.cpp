// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDrive.h"

#include "File_utils.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

namespace app {

namespace {

const QString kToken = QStringLiteral("app_drive$");
QString gRootOverride;

// Walks up from `path` while the parent is on the same device.
QString MountPointOf(const QString &path) {
    QString cur = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    struct stat st {};
    if (::stat(QFile::encodeName(cur).constData(), &st) != 0)
        return QStringLiteral("/");
    const dev_t dev = st.st_dev;
    while (cur != QStringLiteral("/")) {
        const QString parent = QFileInfo(cur).absolutePath();
        struct stat pst {};
        if (::stat(QFile::encodeName(parent).constData(), &pst) != 0 || pst.st_dev != dev)
            break;
        cur = parent;
    }
    return cur;
}

} // namespace

QString AppDriveRoot() {
    if (!gRootOverride.isEmpty())
        return gRootOverride;
    static const QString root = [] {
        QString r = MountPointOf(QCoreApplication::applicationDirPath());
        if (!r.endsWith(QLatin1Char('/')))
            r += QLatin1Char('/');
        return r;
    }();
    return root;
}

void SetAppDriveRoot(const QString &root) {
    gRootOverride = root;
    if (!gRootOverride.isEmpty() && !gRootOverride.endsWith(QLatin1Char('/')))
        gRootOverride += QLatin1Char('/');
}

QString ExpandAppDriveRoot(const QString &s) {
    return s.startsWith(kToken, Qt::CaseSensitive) ? AppDriveRoot() + s.mid(kToken.size()) : s;
}

QString ExpandAppDrive(const QString &s, bool fileMode) {
    if (s.isEmpty())
        return s;
    const QString t = ExpandAppDriveRoot(s);
    if (fileMode) {
        if (!suite::DriveAndFileExist(t)) {
            const qsizetype slash = t.lastIndexOf(QLatin1Char('/'));
            const QString folder = slash >= 0 ? t.left(slash + 1) : QString();
            if (!folder.isEmpty() && suite::DriveAndFolderExist(folder))
                return folder;
        }
        return t;
    }
    if (!suite::DriveAndFolderExist(t) && !suite::DriveAndFileExist(t))
        return {};
    return t;
}

QString CompressAppDrive(const QString &s) {
    // Compared with case: Linux file names differ by case, and a folded
    // match would bring the path back under another name.
    const QString root = AppDriveRoot();
    if (!s.isEmpty() && s.startsWith(root, Qt::CaseSensitive))
        return kToken + s.mid(root.size());
    return s;
}

} // namespace app
