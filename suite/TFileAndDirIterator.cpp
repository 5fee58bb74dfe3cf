#include "TFileAndDirIterator.h"

#include <algorithm>

namespace suite {

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
