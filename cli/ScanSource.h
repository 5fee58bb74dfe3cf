#pragma once
// brindle-scan's files, in the order they are checked: the paths of a list
// first, then each FOLDER's walk in the order given, streamed, so a run over
// millions of files holds one folder's names at a time.

#include "FileSource.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace cli {

class TScanSource : public engine::TFileSource {
public:
    TScanSource(QStringList listed, QStringList folders, bool subfolders);
    bool Next(engine::TSourceFile &file) override;
    // Indices below this came from the list (named by the user one by one).
    qsizetype ListedCount() const { return fListedCount; }
    // A folder that is missing, not a folder, or cannot be read, with the
    // cause; called as the walk reaches it, on the run's thread. `walking` is
    // false for a FOLDER argument that is not a folder at all.
    std::function<void(const QString &path, const QString &cause, bool walking)> onFolderError;

private:
    engine::TListSource fList;
    qsizetype fListedCount;
    QStringList fFolders;
    qsizetype fNextFolder = 0;
    bool fSubfolders;
    std::unique_ptr<suite::TFolderWalk> fWalk;
};

// An absolute, clean form of a name as given, bytes kept.
QString AbsolutePath(const QString &name);

} // namespace cli
