// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// brindle-scan's files, in the order they are checked: the paths of a list
// first, then each argument in the order given (a folder's walk, streamed, so
// a run over millions of files holds one folder's names at a time; a file
// named on its own, as is).

#include "FileSource.h"
#include "FolderWalk.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace cli {

class TScanSource : public engine::TFileSource {
public:
    // `followLinks`: a walk follows every link to a file, not only those to
    // a file inside the folder walked.
    TScanSource(QStringList listed, QStringList arguments, bool subfolders,
                bool followLinks = false);
    bool Next(engine::TSourceFile &file) override;
    // Something that is not checked and should have been, with the cause: an
    // argument that is missing or neither a folder nor a file, a folder that
    // cannot be read, a symbolic link whose target is missing. Called as the
    // walk reaches it, on the run's thread.
    std::function<void(const QString &path, const QString &cause)> onError;
    // A file left out on purpose (a link out of the folder walked), with
    // the reason: no error, but the user should know it was not checked.
    std::function<void(const QString &path, const QString &cause)> onLeftOut;
    // Whether a folder argument, walked without its subfolders, has any.
    bool SkippedSubfolders() const { return fSkippedSubfolders; }

private:
    void Report(const QString &path, const QString &cause);

    engine::TListSource fList;
    QStringList fFolders;
    qsizetype fNextFolder = 0;
    bool fSubfolders;
    bool fFollowLinks;
    bool fSkippedSubfolders = false;
    std::unique_ptr<suite::TFolderWalk> fWalk;
};

// An absolute, clean form of a name as given, bytes kept.
QString AbsolutePath(const QString &name);

} // namespace cli
