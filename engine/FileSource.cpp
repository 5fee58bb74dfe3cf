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

TWalkAheadSource::TWalkAheadSource(const QString &head, bool subfolders) {
    fThread = std::thread([this, head, subfolders] {
        suite::TFolderWalk walk(head, subfolders);
        // Handed over in batches, so that the walk and the run seldom meet at
        // the lock.
        constexpr size_t kBatch = 256;
        std::vector<QString> batch;
        QString path;
        bool more = true;
        while (more) {
            more = walk.Next(path);
            if (more)
                batch.push_back(std::move(path));
            if (batch.size() < kBatch && more)
                continue;
            std::lock_guard lock(fMutex);
            if (fStop)
                return;
            for (QString &p : batch)
                fPaths.push_back(std::move(p));
            batch.clear();
            if (!more) {
                fDone = true;
                fUnreadable = walk.Unreadable();
            }
            fFound.notify_one();
        }
    });
}

TWalkAheadSource::~TWalkAheadSource() {
    {
        std::lock_guard lock(fMutex);
        fStop = true;
    }
    fThread.join();
}

bool TWalkAheadSource::Next(TSourceFile &file) {
    std::unique_lock lock(fMutex);
    fFound.wait(lock, [this] { return fNext < fPaths.size() || fDone; });
    if (fNext >= fPaths.size())
        return false;
    // Taken once: the name need not stay.
    file.path = std::move(fPaths[fNext++]);
    // The walk has just seen a regular file there.
    file.seenRegular = true;
    return true;
}

qsizetype TWalkAheadSource::Total() const {
    std::lock_guard lock(fMutex);
    return fDone ? qsizetype(fPaths.size()) : -1;
}

std::vector<suite::TUnreadableFolder> TWalkAheadSource::Unreadable() const {
    std::lock_guard lock(fMutex);
    return fUnreadable;
}

} // namespace engine
