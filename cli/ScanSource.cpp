// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanSource.h"

#include "FileNames.h"
#include "File_utils.h"

#include <QDir>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace cli {

QString AbsolutePath(const QString &name) {
    if (name.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(name);
    QByteArray cwd(4096, '\0');
    while (!::getcwd(cwd.data(), size_t(cwd.size())) && errno == ERANGE)
        cwd.resize(cwd.size() * 2);
    return QDir::cleanPath(suite::DecodeFileName(cwd.constData()) + QLatin1Char('/') + name);
}

TScanSource::TScanSource(QStringList listed, QStringList arguments, bool subfolders,
                         bool followLinks)
    : fList(std::move(listed), true), fFolders(std::move(arguments)), fSubfolders(subfolders),
      fFollowLinks(followLinks) {}

bool TScanSource::Next(engine::TSourceFile &file) {
    if (fList.Next(file))
        return true;
    for (;;) {
        file.seenRegular = true;
        file.named = false;
        if (fWalk && fWalk->Next(file.path))
            return true;
        if (fWalk && fWalk->LeftOutSubfolders())
            fSkippedSubfolders = true;
        fWalk.reset();
        if (fNextFolder >= fFolders.size())
            return false;
        const QString &name = fFolders.at(fNextFolder++);
        const QString head = AbsolutePath(name);
        struct stat st;
        if (::stat(suite::EncodeFileName(head).constData(), &st) != 0) {
            Report(name, suite::ErrnoText(errno));
            continue;
        }
        if (S_ISREG(st.st_mode)) {
            // A file named on the command line is checked as given, like a
            // list's entry.
            file.path = head;
            file.seenRegular = false;
            file.named = true;
            return true;
        }
        if (!S_ISDIR(st.st_mode)) {
            Report(name, QStringLiteral("neither a folder nor a regular file"));
            continue;
        }
        fWalk = std::make_unique<suite::TFolderWalk>(head, fSubfolders);
        fWalk->onUnreadable = [this](const suite::TUnreadableFolder &u) {
            Report(u.path, QStringLiteral("folder could not be read: ") + u.cause);
        };
        fWalk->onDanglingLink = [this](const QString &path) {
            Report(path, QStringLiteral("symbolic link to a missing file"));
        };
        fWalk->followLinks = fFollowLinks;
        fWalk->onOutsideLink = [this](const QString &path, const QString &target) {
            if (onLeftOut)
                onLeftOut(path, QStringLiteral("not checked: a link to %1, outside the folder "
                                               "(--follow-links follows it)")
                                    .arg(suite::DisplayFileName(target)));
        };
    }
}

void TScanSource::Report(const QString &path, const QString &cause) {
    if (onError)
        onError(path, cause);
}

} // namespace cli
