// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a run's files come from, in list order: a list in memory, or a
// folder walk as a stream (brindle-scan's own, or the window's walk ahead on
// a thread, which holds at most kMaxAhead names before the run takes them),
// so that a walk of millions of files never holds all their names.
// Next() is called on the run's own thread only.

#include "FolderWalk.h"

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace engine {

// A file as a source gives it.
struct TSourceFile {
    QString path;
    // The walk has just seen a regular file there, so it can be opened
    // without looking at it first (a listed path is looked at: a device or
    // a FIFO must never be opened).
    bool seenRegular = false;
    // Named by the user one by one (a list entry, a FILE argument) rather
    // than found by a walk: if it cannot be checked, the user is told why.
    bool named = false;
};

class TFileSource {
public:
    virtual ~TFileSource() = default;
    // The next file; false at the end of the list.
    virtual bool Next(TSourceFile &file) = 0;
};

class TListSource : public TFileSource {
public:
    // `named`: the user named these files one by one (see TSourceFile).
    explicit TListSource(QStringList files, bool named = false)
        : fFiles(std::move(files)), fNamed(named) {}
    bool Next(TSourceFile &file) override;

private:
    QStringList fFiles;
    bool fNamed;
    qsizetype fNext = 0;
};

// The walk of a folder on a thread of its own, ahead of the run: the files
// are checked while the walk goes on. At most kMaxAhead paths wait to be
// taken; beyond that the walk pauses, so memory stays flat however many
// files the folder holds. A second walk beside it only counts the files, so
// that their number is known early (long before the run ends) and a
// progress bar can show a share.
class TWalkAheadSource : public TFileSource {
public:
    static constexpr size_t kMaxAhead = 16384;

    // `maxAhead`: at most this many paths wait (kMaxAhead but in tests).
    // `followLinks`: links to files outside `head` too (suite::TFolderWalk).
    TWalkAheadSource(const QString &head, bool subfolders, size_t maxAhead = kMaxAhead,
                     bool followLinks = false);
    // Ends the walks if they still go on.
    ~TWalkAheadSource() override;
    TWalkAheadSource(const TWalkAheadSource &) = delete;
    TWalkAheadSource &operator=(const TWalkAheadSource &) = delete;

    // Waits for the next file while the walk goes on.
    bool Next(TSourceFile &file) override;
    // The number of files, or -1 while neither walk has ended: the walk's
    // own count once it has ended, else the counting walk's.
    qsizetype Total() const;
    // The folders the walk could not read; complete once the walk has ended.
    std::vector<suite::TUnreadableFolder> Unreadable() const;
    // The most paths that waited to be taken at one time (for the tests).
    size_t MostWaiting() const;

private:
    mutable std::mutex fMutex;
    std::condition_variable fFound; // paths came, or the walk ended
    std::condition_variable fRoom;  // paths were taken, or the end
    std::deque<QString> fPaths;
    size_t fMaxAhead;
    size_t fMostWaiting = 0;
    qsizetype fWalked = 0;
    qsizetype fCounted = -1;
    bool fDone = false;
    bool fStop = false;
    std::vector<suite::TUnreadableFolder> fUnreadable;
    std::thread fThread;
    std::thread fCounter;
};

} // namespace engine
