// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TFileAndDirIterator: walks a folder and collects the full paths of its files,
// in the order TFolderWalk gives them (see FolderWalk.h). Names keep their
// exact bytes (FileNames.h). Unreadable folders are passed over and listed
// with their causes.

#include "FolderWalk.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace suite {

enum TSortOrder { sr_sort_by_name };

class TFileAndDirIterator {
public:
    QString HeadDir;
    bool IncludeSubFolders = true;
    bool AcceptHiddenFiles = false;
    bool AcceptSystemFiles = false;
    TSortOrder SortOrder = sr_sort_by_name;

    // Walks HeadDir and fills FoundFiles().
    void IterateFindingFiles();
    const QStringList &FoundFiles() const { return fFound; }
    // Folders that could not be read during the last walk (HeadDir
    // included), each with the cause.
    const std::vector<TUnreadableFolder> &UnreadableFolders() const { return fUnreadable; }

private:
    QStringList fFound;
    std::vector<TUnreadableFolder> fUnreadable;
};

} // namespace suite
