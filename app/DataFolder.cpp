// SPDX-License-Identifier: GPL-3.0-or-later
#include "DataFolder.h"

#include "FileNames.h"
#include "File_utils.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <dirent.h>

namespace app {

QString AbsoluteDataFolder(const QString &text) {
    if (text.isEmpty())
        return text;
    return QDir::cleanPath(QDir::current().absoluteFilePath(text));
}

QString FolderProblem(const QString &folder) {
    if (folder.isEmpty())
        return suite::ErrnoText(ENOENT);
    DIR *d = ::opendir(suite::EncodeFileName(folder).constData());
    if (!d)
        return suite::ErrnoText(errno);
    errno = 0;
    // Listing may fail where opening did not (a folder gone stale).
    const bool listed = ::readdir(d) != nullptr || errno == 0;
    const int err = errno;
    ::closedir(d);
    return listed ? QString() : suite::ErrnoText(err);
}

} // namespace app
