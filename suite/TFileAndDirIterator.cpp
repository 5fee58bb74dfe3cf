#include "TFileAndDirIterator.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <sys/stat.h>

namespace suite {

bool CodeUnitLess(const QString &a, const QString &b) {
    return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(),
                                        b.utf16() + b.size());
}

void TFileAndDirIterator::IterateFindingFiles() {
    fFound.clear();
    fUnreadable.clear();
    if (HeadDir.isEmpty())
        return;
    QString head = HeadDir;
    while (head.size() > 1 && head.endsWith(QLatin1Char('/')))
        head.chop(1);
    Walk(head);
}

void TFileAndDirIterator::Walk(const QString &folder) {
    const QByteArray native = QFile::encodeName(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir) {
        fUnreadable << folder;
        return;
    }
    QStringList files, folders;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    while (dirent *e = ::readdir(dir)) {
        if (e->d_name[0] == '.' && !AcceptHiddenFiles)
            continue;
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        const QString name = QFile::decodeName(e->d_name);
        bool isFile = e->d_type == DT_REG;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            const QByteArray full = native + '/' + e->d_name;
            if (::stat(full.constData(), &st) == 0) {
                isFile = S_ISREG(st.st_mode);
                // A link to a folder is not followed.
                isDir = e->d_type == DT_UNKNOWN && S_ISDIR(st.st_mode) &&
                        ::lstat(full.constData(), &st) == 0 && S_ISDIR(st.st_mode);
            }
        }
        if (isFile)
            files << name;
        else if (isDir && IncludeSubFolders)
            folders << name;
    }
    ::closedir(dir);
    std::sort(files.begin(), files.end(), CodeUnitLess);
    for (const QString &f : files)
        fFound << prefix + f;
    std::sort(folders.begin(), folders.end(), CodeUnitLess);
    for (const QString &d : folders)
        Walk(prefix + d);
}

} // namespace suite
