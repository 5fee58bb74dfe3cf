// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSource.h"

namespace engine {

bool TListSource::Next(TSourceFile &file) {
    if (fNext >= fFiles.size())
        return false;
    file.path = fFiles.at(fNext++);
    file.seenRegular = false;
    file.named = fNamed;
    return true;
}

TWalkAheadSource::TWalkAheadSource(const QString &head, bool subfolders, size_t maxAhead,
                                   bool followLinks)
    : fMaxAhead(std::max<size_t>(maxAhead, 2)) {
    fThread = std::thread([this, head, subfolders, followLinks] {
        suite::TFolderWalk walk(head, subfolders);
        walk.followLinks = followLinks;
        // Handed over in batches, so that the walk and the run seldom meet at
        // the lock.
        const size_t kBatch = std::min<size_t>(256, fMaxAhead / 2);
        std::vector<QString> batch;
        QString path;
        bool more = true;
        while (more) {
            more = walk.Next(path);
            if (more)
                batch.push_back(std::move(path));
            if (batch.size() < kBatch && more)
                continue;
            std::unique_lock lock(fMutex);
            fRoom.wait(lock, [this] { return fStop || fPaths.size() < fMaxAhead; });
            if (fStop)
                return;
            fWalked += qsizetype(batch.size());
            for (QString &p : batch)
                fPaths.push_back(std::move(p));
            fMostWaiting = std::max(fMostWaiting, fPaths.size());
            batch.clear();
            if (!more) {
                fDone = true;
                fUnreadable = walk.Unreadable();
            }
            fFound.notify_one();
        }
    });
    fCounter = std::thread([this, head, subfolders, followLinks] {
        suite::TFolderWalk walk(head, subfolders);
        walk.followLinks = followLinks;
        QString path;
        qsizetype n = 0;
        for (; walk.Next(path); ++n)
            if ((n & 1023) == 0) {
                std::lock_guard lock(fMutex);
                if (fStop || fDone)
                    return;
            }
        std::lock_guard lock(fMutex);
        fCounted = n;
    });
}

TWalkAheadSource::~TWalkAheadSource() {
    {
        std::lock_guard lock(fMutex);
        fStop = true;
    }
    fRoom.notify_all();
    fThread.join();
    fCounter.join();
}

bool TWalkAheadSource::Next(TSourceFile &file) {
    std::unique_lock lock(fMutex);
    fFound.wait(lock, [this] { return !fPaths.empty() || fDone; });
    if (fPaths.empty())
        return false;
    // Taken once: the name need not stay.
    file.path = std::move(fPaths.front());
    fPaths.pop_front();
    if (fPaths.size() == fMaxAhead / 2)
        fRoom.notify_one();
    // The walk has just seen a regular file there.
    file.seenRegular = true;
    return true;
}

qsizetype TWalkAheadSource::Total() const {
    std::lock_guard lock(fMutex);
    return fDone ? fWalked : fCounted;
}

std::vector<suite::TUnreadableFolder> TWalkAheadSource::Unreadable() const {
    std::lock_guard lock(fMutex);
    return fUnreadable;
}

size_t TWalkAheadSource::MostWaiting() const {
    std::lock_guard lock(fMutex);
    return fMostWaiting;
}

} // namespace engine
