// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An OrderedRun on a thread of its own, for a caller that must stay free
// between outcomes (a window's thread, which has events to serve): the
// caller takes the outcomes in list order, in batches, and never waits
// longer than it asks.
//
// The run's thread is one of its jobs, so `jobs` threads check files while
// the caller only takes outcomes. At most kMaxWaiting outcomes wait to be
// taken; beyond that the run pauses, so memory stays flat however slowly
// they are taken. Stop() (and the destructor) ends the run soon: files being
// checked are finished, outcomes not yet taken are dropped.

#include "OrderedRun.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace engine {

struct TTakenOutcome {
    qsizetype index = 0;
    QString path;
    TFileOutcome outcome;
};

class TBackgroundRun {
public:
    static constexpr size_t kMaxWaiting = 4096;

    // Starts the run at once. `reference` must outlive the run.
    TBackgroundRun(std::unique_ptr<TFileSource> source, const TCheckSettings &settings,
                   const TDigraphProfile *reference, int jobs);
    ~TBackgroundRun();
    TBackgroundRun(const TBackgroundRun &) = delete;
    TBackgroundRun &operator=(const TBackgroundRun &) = delete;

    // Moves the outcomes ready now into `out` (cleared first), in list
    // order, waiting up to `waitMs` for the first. False once the run has
    // ended and every outcome was taken.
    bool Take(std::vector<TTakenOutcome> &out, int waitMs);
    // Ends the run after the files now being checked.
    void Stop();
    // Progress through the text of the next file to be taken, 0-100, while
    // it is checked under the digraph check.
    int32_t PercentOfNext() const { return fPercentOfNext.load(std::memory_order_relaxed); }

private:
    std::unique_ptr<TFileSource> fSource;
    std::mutex fMutex;
    std::condition_variable fReady; // an outcome came, or the run ended
    std::condition_variable fRoom;  // outcomes were taken, or Stop
    std::deque<TTakenOutcome> fWaiting;
    bool fEnded = false;
    bool fStopped = false;
    std::atomic<qsizetype> fNextIndex{0};
    std::atomic<int32_t> fPercentOfNext{0};
    std::thread fThread;
};

} // namespace engine
