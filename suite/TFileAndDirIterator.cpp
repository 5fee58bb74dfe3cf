#include "TFileAndDirIterator.h"

#include <algorithm>

namespace suite {

bool CodeUnitLess(const QString &a, const QString &b) {
    return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(),
                                        b.utf16() + b.size());
}

void TFileAndDirIterator::IterateFindingFiles() {
    fFound.clear();
    fUnreadable.clear();
    fUnreadableCauses.clear();
    if (HeadDir.isEmpty())
        return;
    TFolderWalk walk(HeadDir, IncludeSubFolders, AcceptHiddenFiles);
    QString path;
    while (walk.Next(path))
        fFound << path;
    fUnreadableCauses = walk.Unreadable();
    for (const TUnreadableFolder &u : fUnreadableCauses)
        fUnreadable << u.path;
}

} // namespace suite
