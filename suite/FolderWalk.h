// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TFolderWalk: the folder walk as a stream of file paths.
//
// Regular files only; names beginning with "." are hidden and left out,
// files and folders alike. A link to a file counts as the file when the
// file lies inside the top folder (its real path, all links resolved); a
// link out of it is left out unless `followLinks`, so that a walk of a
// folder someone else owns never reads what lies outside it (as root,
// /etc/shadow). Within a folder
// the files come first, sorted by name in UTF-16 code-unit order, then the
// subfolders in the same order, each walked depth first. Links to folders are
// not followed, so a walk always ends.
//
// Names keep their exact bytes (see FileNames.h). Folders are opened with
// openat() relative to their parent's descriptor, so the depth of a tree does
// not matter; only the folders still to be finished are held, with the names
// of one folder at a time, so memory does not grow with the number of files.
// A folder that cannot be opened or read is reported with its cause and the
// walk goes on.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace suite {

struct TUnreadableFolder {
    QString path;
    QString cause; // the system's text, e.g. "Permission denied"
};

class TFolderWalk {
public:
    // Walks `head` (a name as DecodeFileName gives it); trailing slashes are
    // dropped. With `subfolders` false only the files of `head` itself.
    TFolderWalk(const QString &head, bool subfolders, bool hidden = false);
    ~TFolderWalk();
    TFolderWalk(const TFolderWalk &) = delete;
    TFolderWalk &operator=(const TFolderWalk &) = delete;

    // The next file's full path; false once the walk is over.
    bool Next(QString &path);

    // Called for each folder that cannot be read, as the walk meets it (the
    // top folder included), on the caller's thread.
    std::function<void(const TUnreadableFolder &)> onUnreadable;
    // Called with the full path of each symbolic link whose target is
    // missing, as the walk reads its folder; such a link is left out.
    std::function<void(const QString &path)> onDanglingLink;
    // Follow links to files wherever they lead. Set before the first Next().
    bool followLinks = false;
    // Called with the full path of each link to a file outside the top
    // folder and that file's real path, when the link is left out.
    std::function<void(const QString &path, const QString &target)> onOutsideLink;
    // Every folder that could not be read so far.
    const std::vector<TUnreadableFolder> &Unreadable() const { return fUnreadable; }
    // The top folder itself could not be opened (missing, not a folder,
    // no permission): errno of the failure, else 0.
    int HeadError() const { return fHeadError; }
    // Walking without subfolders, the walk met a folder that has some.
    bool LeftOutSubfolders() const { return fLeftOutSubfolders; }

private:
    struct TFrame;
    void Start();
    bool Descend();
    bool ReadFolder(int fd, const QString &path, TFrame &frame);
    int ReopenFrame(size_t index);
    void Report(const QString &path, int err);

    QString fHead;
    bool fSubfolders;
    bool fHidden;
    bool fStarted = false;
    bool fLeftOutSubfolders = false;
    int fHeadError = 0;
    int fReadError = 0;
    std::vector<std::unique_ptr<TFrame>> fStack; // folders with subfolders still to walk
    std::vector<QString> fFiles;                 // the current folder's files, sorted
    size_t fNextFile = 0;
    QString fFilesPrefix;
    QByteArray fRealHead; // the top folder's real path, with a trailing '/'
    bool LinkInside(int fd, const char *name, QByteArray &target) const;
    std::vector<TUnreadableFolder> fUnreadable;
};

} // namespace suite
