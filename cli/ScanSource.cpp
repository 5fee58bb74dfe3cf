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

TScanSource::TScanSource(QStringList listed, QStringList folders, bool subfolders)
    : fList(listed), fListedCount(listed.size()), fFolders(std::move(folders)),
      fSubfolders(subfolders) {}

bool TScanSource::Next(engine::TSourceFile &file) {
    if (fList.Next(file))
        return true;
    for (;;) {
        file.seenRegular = true;
        if (fWalk && fWalk->Next(file.path))
            return true;
        fWalk.reset();
        if (fNextFolder >= fFolders.size())
            return false;
        const QString &name = fFolders.at(fNextFolder++);
        const QString head = AbsolutePath(name);
        struct stat st;
        int err = 0;
        if (::stat(suite::EncodeFileName(head).constData(), &st) != 0)
            err = errno;
        else if (!S_ISDIR(st.st_mode))
            err = ENOTDIR;
        if (err != 0) {
            if (onFolderError)
                onFolderError(name, suite::ErrnoText(err), false);
            continue;
        }
        fWalk = std::make_unique<suite::TFolderWalk>(head, fSubfolders);
        fWalk->onUnreadable = [this](const suite::TUnreadableFolder &u) {
            if (onFolderError)
                onFolderError(u.path, u.cause, true);
        };
    }
}

} // namespace cli
