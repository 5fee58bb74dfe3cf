// SPDX-License-Identifier: GPL-3.0-or-later
#include "OrderedRun.h"

#include "FileNames.h"
#include "Mykpsmall.h"
#include "RunError.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <sched.h>
#include <sys/stat.h>
#include <thread>
#include <vector>

#if defined(__SANITIZE_THREAD__)
#define BRINDLE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define BRINDLE_THREAD_SANITIZER 1
#endif
#endif

namespace engine {

TFileOutcome CheckOne(TFileChecker &checker, const TSourceFile &file,
                      const TCheckSettings &settings, const TDigraphProfile *reference,
                      const TPercentCallback &onPercent) {
    TFileOutcome out;
    out.named = file.named;
    try {
        out.result =
            checker.Check(file.path, settings, reference, onPercent, out.verdict, file.seenRegular);
        if (out.result == TCheckResult::Missing)
            out.missingError = checker.MissingError();
    } catch (const suite::TRunError &e) {
        out.failed = true;
        out.error = e.cause();
    } catch (const std::bad_alloc &) {
        out.failed = true;
        out.error = QStringLiteral("out of memory");
    }
    return out;
}

int DefaultJobs() {
    return int(std::max(1u, std::thread::hardware_concurrency()));
}

namespace {

void RunInline(TFileSource &source, const TCheckSettings &settings,
               const TDigraphProfile *reference, const TRunHooks &hooks) {
    TFileChecker checker;
    TSourceFile file;
    for (qsizetype i = 0;; ++i) {
        if (hooks.between && !hooks.between())
            return;
        if (!source.Next(file))
            return;
        const TFileOutcome out = CheckOne(checker, file, settings, reference, hooks.onPercent);
        if (hooks.checked)
            ++*hooks.checked;
        if (!hooks.sink(i, file.path, out))
            return;
    }
}

struct TSlot {
    TSourceFile file;
    TFileOutcome out;
    bool ready = false;
};

// A run on several threads: this thread and jobs - 1 workers check files
// from a ring of slots ahead of the sink, and this thread also hands the
// outcomes to the sink in list order. Every field below `fMutex` is guarded
// by it.
class TParallelRun {
public:
    TParallelRun(TFileSource &source, const TCheckSettings &settings,
                 const TDigraphProfile *reference, int jobs, const TRunHooks &hooks)
        : fSource(source), fSettings(settings), fReference(reference), fJobs(jobs), fHooks(hooks) {}

    void Run();

private:
    bool ReadAhead();
    void OrderLargestFirst();
    void Claim(std::vector<qsizetype> &taken);
    void CheckTaken(std::unique_lock<std::mutex> &lock, TFileChecker &checker,
                    const std::vector<qsizetype> &taken, std::vector<TFileOutcome> &outs);
    void Work();
    void TopUp();
    bool TakeReady(std::vector<TSlot> &done, TFileChecker &checker, std::vector<qsizetype> &taken,
                   std::vector<TFileOutcome> &outs);
    void Stop();

    TFileSource &fSource;
    const TCheckSettings &fSettings;
    const TDigraphProfile *fReference;
    const int fJobs;
    const TRunHooks &fHooks;

    // Files read from the source before the ring exists, and what reading
    // them told: whether the list is short (it ended within kShortList).
    std::vector<TSourceFile> fAhead;
    size_t fAheadUsed = 0;
    bool fSourceDone = false;
    bool fLargestFirst = false;
    std::vector<qsizetype> fOrder; // largest first, for a short list
    qsizetype fWindow = 0;
    std::vector<TSlot> fRing;

    std::mutex fMutex;
    std::condition_variable fWorkAvailable, fResultReady;
    // Indices below fProduced have their file in the ring; fNext is the next
    // one to take (in fOrder when set); fEmitted, the next for the sink.
    qsizetype fProduced = 0, fNext = 0, fEmitted = 0;
    int fIdleWorkers = 0;
    bool fMainWaiting = false, fStop = false, fAllProduced = false;
};

// Reads ahead far enough to know whether the list is short. False when it
// is empty.
bool TParallelRun::ReadAhead() {
    TSourceFile p;
    while (qsizetype(fAhead.size()) <= kShortList) {
        if (!fSource.Next(p)) {
            fSourceDone = true;
            break;
        }
        fAhead.push_back(p);
    }
    return !fAhead.empty();
}

// A short list is checked largest file first, so that no thread is left with
// a big file at the end while the others idle.
void TParallelRun::OrderLargestFirst() {
    std::vector<int64_t> sizes(fAhead.size(), 0);
    for (size_t i = 0; i < fAhead.size(); ++i) {
        struct stat st;
        if (::stat(suite::EncodeFileName(fAhead[i].path).constData(), &st) == 0)
            sizes[i] = int64_t(st.st_size);
    }
    fOrder.resize(fAhead.size());
    std::iota(fOrder.begin(), fOrder.end(), qsizetype(0));
    std::stable_sort(fOrder.begin(), fOrder.end(),
                     [&](qsizetype a, qsizetype b) { return sizes[size_t(a)] > sizes[size_t(b)]; });
}

// Takes the next files to check, under the lock: one at a time from a list
// sorted largest first (a big file must not hold others up), else a run of
// neighbours, so that threads meet at the lock and wake each other seldom;
// the runs shrink as the files in hand run low, to keep the threads evenly
// busy.
void TParallelRun::Claim(std::vector<qsizetype> &taken) {
    taken.clear();
    qsizetype k = 1;
    if (!fLargestFirst)
        k = std::clamp<qsizetype>((fProduced - fNext) / (4 * qsizetype(fJobs)), 1, 32);
    for (; k > 0 && fNext < fProduced; --k, ++fNext)
        taken.push_back(fLargestFirst ? fOrder[size_t(fNext)] : fNext);
}

// Checks the files taken, then hands in their outcomes under the lock (held
// on entry and on return).
void TParallelRun::CheckTaken(std::unique_lock<std::mutex> &lock, TFileChecker &checker,
                              const std::vector<qsizetype> &taken,
                              std::vector<TFileOutcome> &outs) {
    std::vector<TSourceFile> files;
    for (qsizetype i : taken)
        files.push_back(fRing[size_t(i % fWindow)].file);
    lock.unlock();
    outs.clear();
    for (size_t j = 0; j < files.size(); ++j) {
        TPercentCallback onPercent;
        if (fHooks.onFilePercent)
            onPercent = [this, index = taken[j]](int32_t p) { fHooks.onFilePercent(index, p); };
        outs.push_back(CheckOne(checker, files[j], fSettings, fReference, onPercent));
        if (fHooks.checked)
            ++*fHooks.checked;
    }
    lock.lock();
    bool wanted = false;
    for (size_t j = 0; j < taken.size(); ++j) {
        TSlot &slot = fRing[size_t(taken[j] % fWindow)];
        slot.out = std::move(outs[j]);
        slot.ready = true;
        wanted = wanted || taken[j] == fEmitted;
    }
    // The sink's thread sleeps only for the result it needs next.
    if (fMainWaiting && wanted)
        fResultReady.notify_one();
}

// A worker thread: checks files until the run stops or runs out of them.
void TParallelRun::Work() {
    // A table of open files of this thread's own: files opened and closed
    // on several threads of one process wait on each other's table lock.
    // Nothing the thread opens is meant for another; where this is not
    // allowed, the shared table still works. ThreadSanitizer tells files
    // apart by number alone, and would take the same number on two threads,
    // naming two files, for a race: under it the table stays shared.
#ifndef BRINDLE_THREAD_SANITIZER
    ::unshare(CLONE_FILES);
#endif
    TFileChecker checker;
    std::vector<qsizetype> taken;
    std::vector<TFileOutcome> outs;
    std::unique_lock lock(fMutex);
    for (;;) {
        if (!fStop && fNext >= fProduced && !fAllProduced) {
            ++fIdleWorkers;
            fWorkAvailable.wait(lock, [&] { return fStop || fNext < fProduced || fAllProduced; });
            --fIdleWorkers;
        }
        if (fStop || fNext >= fProduced)
            return;
        Claim(taken);
        CheckTaken(lock, checker, taken, outs);
    }
}

// Hands the workers files up to the window's end. The source is read outside
// the lock: the walk may take its time over a folder.
void TParallelRun::TopUp() {
    std::vector<TSourceFile> batch;
    qsizetype have, room;
    {
        std::lock_guard lock(fMutex);
        have = fProduced;
        room = fEmitted + fWindow - fProduced;
    }
    TSourceFile p;
    while (qsizetype(batch.size()) < room) {
        if (fAheadUsed < fAhead.size()) {
            batch.push_back(std::move(fAhead[fAheadUsed++]));
        } else if (fSourceDone || !fSource.Next(p)) {
            fSourceDone = true;
            break;
        } else {
            batch.push_back(p);
        }
    }
    if (fAheadUsed == fAhead.size() && !fAhead.empty())
        std::vector<TSourceFile>().swap(fAhead);
    std::lock_guard lock(fMutex);
    for (TSourceFile &file : batch)
        fRing[size_t(have++ % fWindow)].file = std::move(file);
    fProduced = have;
    fAllProduced = fSourceDone && fAheadUsed >= fAhead.size();
    if (fIdleWorkers > 0 && (!batch.empty() || fAllProduced))
        fWorkAvailable.notify_all();
}

// Moves every outcome that is ready in a row, in list order, into `done`;
// while the next one is not ready, checks files itself, or waits. False at
// the end of the list.
bool TParallelRun::TakeReady(std::vector<TSlot> &done, TFileChecker &checker,
                             std::vector<qsizetype> &taken, std::vector<TFileOutcome> &outs) {
    std::unique_lock lock(fMutex);
    if (fAllProduced && fEmitted == fProduced)
        return false;
    if (!fRing[size_t(fEmitted % fWindow)].ready) {
        // This thread is one of the `jobs`: between serving results it checks
        // files too, so no more threads run than were asked for.
        if (fNext < fProduced) {
            Claim(taken);
            CheckTaken(lock, checker, taken, outs);
            return true;
        }
        fMainWaiting = true;
        fResultReady.wait(lock, [&] { return fRing[size_t(fEmitted % fWindow)].ready; });
        fMainWaiting = false;
    }
    while (fEmitted < fProduced) {
        TSlot &slot = fRing[size_t(fEmitted % fWindow)];
        if (!slot.ready)
            break;
        done.push_back(std::move(slot));
        slot = TSlot{};
        ++fEmitted;
    }
    return true;
}

void TParallelRun::Stop() {
    {
        std::lock_guard lock(fMutex);
        fStop = true;
    }
    fWorkAvailable.notify_all();
}

void TParallelRun::Run() {
    if (!ReadAhead())
        return;
    fLargestFirst = fSourceDone;
    if (fLargestFirst)
        OrderLargestFirst();
    // A short list is held whole; a long one in a bounded window, so memory
    // stays flat however long it is.
    fWindow = fLargestFirst ? qsizetype(fAhead.size()) : 256 * qsizetype(fJobs);
    fRing.resize(size_t(fWindow));

    std::vector<std::thread> threads;
    TopUp();
    for (int t = 1; t < fJobs; ++t)
        threads.emplace_back([this] {
            gNoYieldsOnThisThread = true;
            Work();
        });

    TFileChecker checker;
    std::vector<qsizetype> taken;
    std::vector<TFileOutcome> outs;
    std::vector<TSlot> done;
    bool go = true;
    while (go) {
        TopUp();
        done.clear();
        if (!TakeReady(done, checker, taken, outs))
            break;
        // Served without the lock.
        qsizetype index = fEmitted - qsizetype(done.size());
        for (const TSlot &s : done)
            if (!fHooks.sink(index++, s.file.path, s.out)) {
                go = false;
                break;
            }
    }
    Stop();
    for (auto &t : threads)
        t.join();
}

} // namespace

void OrderedRun(TFileSource &source, const TCheckSettings &settings,
                const TDigraphProfile *reference, int jobs, const TRunHooks &hooks) {
    if (jobs <= 1)
        RunInline(source, settings, reference, hooks);
    else
        TParallelRun(source, settings, reference, jobs, hooks).Run();
}

} // namespace engine
