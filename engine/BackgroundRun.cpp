// SPDX-License-Identifier: GPL-3.0-or-later
#include "BackgroundRun.h"

#include "Mykpsmall.h"

#include <chrono>

namespace engine {

TBackgroundRun::TBackgroundRun(std::unique_ptr<TFileSource> source, const TCheckSettings &settings,
                               const TDigraphProfile *reference, int jobs)
    : fSource(std::move(source)) {
    fThread = std::thread([this, settings, reference, jobs] {
        // The caller's thread serves the events; this one only checks.
        gNoYieldsOnThisThread = true;
        TRunHooks hooks;
        hooks.sink = [this](qsizetype index, const QString &path, const TFileOutcome &outcome) {
            std::unique_lock lock(fMutex);
            fRoom.wait(lock, [this] { return fStopped || fWaiting.size() < kMaxWaiting; });
            if (fStopped)
                return false;
            fWaiting.push_back({index, path, outcome});
            if (fWaiting.size() == 1)
                fReady.notify_one();
            return true;
        };
        hooks.onFilePercent = [this](qsizetype index, int32_t percent) {
            if (index == fNextIndex.load(std::memory_order_relaxed))
                fPercentOfNext.store(percent, std::memory_order_relaxed);
        };
        OrderedRun(*fSource, settings, reference, jobs, hooks);
        std::lock_guard lock(fMutex);
        fEnded = true;
        fReady.notify_one();
    });
}

TBackgroundRun::~TBackgroundRun() {
    Stop();
    fThread.join();
}

bool TBackgroundRun::Take(std::vector<TTakenOutcome> &out, int waitMs) {
    out.clear();
    std::unique_lock lock(fMutex);
    if (fWaiting.empty() && !fEnded)
        fReady.wait_for(lock, std::chrono::milliseconds(waitMs),
                        [this] { return !fWaiting.empty() || fEnded; });
    if (fWaiting.empty())
        return !fEnded;
    const bool wasFull = fWaiting.size() >= kMaxWaiting;
    out.assign(std::make_move_iterator(fWaiting.begin()), std::make_move_iterator(fWaiting.end()));
    fWaiting.clear();
    // The file the caller waits for next has shown no progress yet.
    fNextIndex.store(out.back().index + 1, std::memory_order_relaxed);
    fPercentOfNext.store(0, std::memory_order_relaxed);
    if (wasFull)
        fRoom.notify_one();
    return true;
}

void TBackgroundRun::Stop() {
    std::lock_guard lock(fMutex);
    fStopped = true;
    fWaiting.clear();
    fRoom.notify_one();
}

} // namespace engine
