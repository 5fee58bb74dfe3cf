#pragma once
// TFileAndDirIterator: walks a folder and collects the full paths of its files.
//
// Regular files only (a link to a file counts as the file); names beginning
// with "." are hidden and left out, files and folders alike. Within a folder
// the files come first, sorted by name in UTF-16 code-unit order, then the
// subfolders in the same order, each walked depth first. Links to folders are
// not followed, so a walk always ends. Unreadable folders are passed over.

#include <QString>
#include <QStringList>

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
    // Kept for the window's call order; the list is complete after the walk.
    void BuildDetailedList() {}
    const QStringList &FoundFiles() const { return fFound; }
    // Folders that could not be read during the last walk.
    const QStringList &Unreadable() const { return fUnreadable; }

private:
    void Walk(const QString &folder);
    QStringList fFound;
    QStringList fUnreadable;
};

// Code-unit order of two texts.
bool CodeUnitLess(const QString &a, const QString &b);

} // namespace suite
