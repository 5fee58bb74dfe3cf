// SPDX-License-Identifier: GPL-3.0-or-later
#include "TFileAndDirIterator.h"

namespace suite {

void TFileAndDirIterator::IterateFindingFiles() {
    fFound.clear();
    fUnreadable.clear();
    if (HeadDir.isEmpty())
        return;
    TFolderWalk walk(HeadDir, IncludeSubFolders, AcceptHiddenFiles);
    QString path;
    while (walk.Next(path))
        fFound << path;
    fUnreadable = walk.Unreadable();
}

} // namespace suite
