// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserFolders.h"

#include <QDir>

namespace suite {

QString GetUserReadWriteFolder() {
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    QString folder = QDir::cleanPath(base + QStringLiteral("/Quillon"));
    QDir().mkpath(folder);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace suite
