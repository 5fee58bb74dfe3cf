// SPDX-License-Identifier: GPL-3.0-or-later
#include "FolderWalk.h"

#include "CodeUnitOrder.h"
#include "FileNames.h"
#include "File_utils.h"
#include "TFileAndDirIterator.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace suite {

namespace {

// Folders whose descriptors stay open; a deeper unfinished folder is closed
// and opened again from its nearest open ancestor when the walk returns to
// it, so no tree can run the process out of descriptors.
constexpr size_t kKeepOpen = 32;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// One folder on the way from the top, shared by its unfinished descendants.
struct TNode {
    QString name; // relative to the parent; the whole head path at the top
    std::shared_ptr<TNode> parent;
    dev_t dev = 0;
    ino_t ino = 0;
    int fd = -1;
    ~TNode() {
        if (fd >= 0)
            ::close(fd);
    }
    void CloseFd() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

// A node for an open folder, with the identity that a stepwise reopening
// checks against.
std::shared_ptr<TNode> MakeNode(const QString &name, int fd) {
    auto node = std::make_shared<TNode>();
    node->name = name;
    node->fd = fd;
    struct stat st;
    if (::fstat(fd, &st) == 0) {
        node->dev = st.st_dev;
        node->ino = st.st_ino;
    }
    return node;
}

} // namespace

struct TFolderWalk::TFrame {
    std::shared_ptr<TNode> node;
    QString prefix; // full path with a trailing '/'
    std::vector<QString> subs;
    size_t next = 0;
};

TFolderWalk::TFolderWalk(const QString &head, bool subfolders, bool hidden)
    : fHead(head), fSubfolders(subfolders), fHidden(hidden) {
    while (fHead.size() > 1 && fHead.endsWith(QLatin1Char('/')))
        fHead.chop(1);
}

TFolderWalk::~TFolderWalk() = default;

void TFolderWalk::Report(const QString &path, int err) {
    fUnreadable.push_back({path, ErrnoText(err)});
    if (onUnreadable)
        onUnreadable(fUnreadable.back());
}

// Reads the entries of the folder open on `fd` (which stays open) into the
// current file list and the frame's subfolders. False, reported, when the
// folder cannot be read.
bool TFolderWalk::ReadFolder(int fd, const QString &path, TFrame &frame) {
    fFiles.clear();
    fNextFile = 0;
    fFilesPrefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
    frame.prefix = fFilesPrefix;
    frame.subs.clear();
    frame.next = 0;
    const int own = ::dup(fd); // closedir() closes the descriptor it is given
    DIR *dir = own >= 0 ? ::fdopendir(own) : nullptr;
    if (!dir) {
        const int err = errno;
        if (own >= 0)
            ::close(own);
        fReadError = err;
        Report(path, err);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent *e = ::readdir(dir);
        if (!e) {
            if (errno != 0) {
                const int err = errno;
                ::closedir(dir);
                fFiles.clear();
                frame.subs.clear();
                fReadError = err;
                Report(path, err);
                return false;
            }
            break;
        }
        const char *n = e->d_name;
        if (n[0] == '.' && (!fHidden || n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        bool isFile = e->d_type == DT_REG;
        bool isDir = e->d_type == DT_DIR;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, n, &st, 0) == 0) {
                isFile = S_ISREG(st.st_mode);
                QByteArray target;
                if (isFile && !followLinks && !LinkInside(fd, n, target)) {
                    isFile = false;
                    if (onOutsideLink)
                        onOutsideLink(fFilesPrefix + DecodeFileName(QByteArrayView(
                                                         n, qsizetype(std::strlen(n)))),
                                      DecodeFileName(target));
                }
                // A link to a folder is not followed.
                isDir = e->d_type == DT_UNKNOWN && S_ISDIR(st.st_mode) &&
                        ::fstatat(fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
            } else if (errno == ENOENT && onDanglingLink &&
                       ::fstatat(fd, n, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode)) {
                onDanglingLink(fFilesPrefix +
                               DecodeFileName(QByteArrayView(n, qsizetype(std::strlen(n)))));
            }
        }
        if (isFile)
            fFiles.push_back(DecodeFileName(QByteArrayView(n, qsizetype(std::strlen(n)))));
        else if (isDir && fSubfolders)
            frame.subs.push_back(DecodeFileName(QByteArrayView(n, qsizetype(std::strlen(n)))));
        else if (isDir)
            fLeftOutSubfolders = true;
    }
    ::closedir(dir);
    std::sort(fFiles.begin(), fFiles.end(), CodeUnitLess);
    std::sort(frame.subs.begin(), frame.subs.end(), CodeUnitLess);
    return true;
}

namespace {

// The real path of what `fd` is open on, from /proc; empty when unknown.
QByteArray RealPathOf(int fd) {
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    QByteArray path(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.constData(), path.data(), size_t(path.size()));
        if (n < 0)
            return {};
        if (n < path.size()) {
            path.truncate(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

} // namespace

// Whether the entry `name` of the folder open on `fd`, which is not a plain
// file (a link, or of a kind readdir did not say), resolves to a file inside
// the top folder; `target` is then where it leads. Called only for links, a
// few in a corpus: it costs an open and a readlink.
bool TFolderWalk::LinkInside(int fd, const char *name, QByteArray &target) const {
    struct stat st;
    if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISLNK(st.st_mode))
        return true; // DT_UNKNOWN for a plain file
    const int at = ::openat(fd, name, O_PATH | O_CLOEXEC);
    if (at < 0)
        return false;
    target = RealPathOf(at);
    ::close(at);
    // Paths the kernel could not name ("(deleted)", unreachable) are outside.
    return !fRealHead.isEmpty() && target.startsWith(fRealHead);
}

void TFolderWalk::Start() {
    fStarted = true;
    const int fd = ::open(EncodeFileName(fHead).constData(), kFolderFlags & ~O_NOFOLLOW);
    if (fd < 0) {
        fHeadError = errno;
        Report(fHead, fHeadError);
        return;
    }
    fRealHead = RealPathOf(fd);
    if (!fRealHead.isEmpty() && !fRealHead.endsWith('/'))
        fRealHead += '/';
    auto frame = std::make_unique<TFrame>();
    frame->node = MakeNode(fHead, fd);
    if (!ReadFolder(fd, fHead, *frame)) {
        fHeadError = fReadError;
        return;
    }
    if (!frame->subs.empty())
        fStack.push_back(std::move(frame));
}

// Opens again the folder of an unfinished frame whose descriptor was closed:
// from its nearest open ancestor, one name at a time, checking that it is
// still the same folder. -1 with errno set when that fails.
int TFolderWalk::ReopenFrame(size_t index) {
    std::vector<TNode *> down;
    TNode *n = fStack[index]->node.get();
    while (n && n->fd < 0) {
        down.push_back(n);
        n = n->parent.get();
    }
    // A node's name may hold several steps ("a/b/c") or, with nothing open
    // above it, the whole path: open it one step at a time, so no path is
    // ever too long.
    QList<QByteArray> steps;
    bool fromRoot = false;
    for (auto it = down.rbegin(); it != down.rend(); ++it) {
        if (it == down.rbegin() && !n && (*it)->name.startsWith(QLatin1Char('/')))
            fromRoot = true;
        steps += EncodeFileName((*it)->name).split('/');
    }
    const int fd = OpenFolderStepwise(n ? ::dup(n->fd) : ::open(fromRoot ? "/" : ".", kFolderFlags),
                                      steps, false);
    struct stat st;
    const TNode *want = fStack[index]->node.get();
    if (fd < 0)
        return -1;
    if (::fstat(fd, &st) != 0 || st.st_dev != want->dev || st.st_ino != want->ino) {
        ::close(fd);
        errno = ENOENT; // moved or replaced while the walk was elsewhere
        return -1;
    }
    fStack[index]->node->fd = fd;
    return fd;
}

// Opens the next subfolder and makes its files current. False at the end.
bool TFolderWalk::Descend() {
    while (!fStack.empty()) {
        const size_t top = fStack.size() - 1;
        TFrame &f = *fStack[top];
        if (f.next >= f.subs.size()) {
            fStack.pop_back();
            continue;
        }
        const QString name = f.subs[f.next++];
        const QString path = f.prefix + name;
        if (f.node->fd < 0 && ReopenFrame(top) < 0) {
            const int err = errno;
            Report(f.prefix.chopped(1), err);
            fStack.pop_back();
            continue;
        }
        const int fd = ::openat(f.node->fd, EncodeFileName(name).constData(), kFolderFlags);
        if (fd < 0) {
            Report(path, errno);
            continue;
        }
        auto child = std::make_unique<TFrame>();
        child->node = MakeNode(name, fd);
        if (f.next >= f.subs.size()) {
            // The parent is finished: the child takes its place and its link
            // to the folders above, so a deep chain holds one frame.
            child->node->name = f.node->name + QLatin1Char('/') + name;
            child->node->parent = f.node->parent;
            if (!child->node->parent) {
                // Nothing above: the name must stay openable from here.
                child->node->name = path;
            }
            fStack.pop_back();
        } else {
            child->node->parent = f.node;
        }
        if (!ReadFolder(fd, path, *child))
            continue;
        if (!child->subs.empty()) {
            fStack.push_back(std::move(child));
            // The bottom folder stays open: every reopening starts from it
            // or from a folder above it, never from a path.
            if (fStack.size() > kKeepOpen + 1)
                fStack[fStack.size() - 1 - kKeepOpen]->node->CloseFd();
        } // else its descriptor closes with the node
        return true;
    }
    return false;
}

bool TFolderWalk::Next(QString &path) {
    if (!fStarted)
        Start();
    for (;;) {
        if (fNextFile < fFiles.size()) {
            path = fFilesPrefix + fFiles[fNextFile++];
            return true;
        }
        fFiles.clear();
        fNextFile = 0;
        if (!Descend())
            return false;
    }
}

} // namespace suite
