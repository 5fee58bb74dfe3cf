// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateFolder.h"

#include <QDir>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Makes `path` a folder owned by us with mode 0700; false when it cannot be.
bool MakePrivate(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    // lstat: a link planted in our place must not redirect us.
    if (::lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    if ((st.st_mode & 0777) != 0700 && ::chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

QString PrivateRuntimeFolder(const QString &sub) {
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty())
        return QString();
    QString folder = base + QStringLiteral("/quillon");
    if (!MakePrivate(folder))
        return QString();
    if (sub.isEmpty())
        return folder;
    folder += QLatin1Char('/') + sub;
    return MakePrivate(folder) ? folder : QString();
}

} // namespace platform
