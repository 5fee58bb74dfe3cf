#include "OrderedRun.h"

#include "FileNames.h"
#include "RunError.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <numeric>
#include <sys/stat.h>
#include <thread>
#include <vector>

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

} // namespace

void OrderedRun(TFileSource &source, const TCheckSettings &settings,
                const TDigraphProfile *reference, int jobs, const TRunHooks &hooks) {
    if (jobs <= 1) {
        RunInline(source, settings, reference, hooks);
        return;
    }

    // Read ahead far enough to know whether the list is short.
    std::vector<TSourceFile> ahead;
    bool sourceDone = false;
    {
        TSourceFile p;
        while (qsizetype(ahead.size()) <= kShortList) {
            if (!source.Next(p)) {
                sourceDone = true;
                break;
            }
            ahead.push_back(p);
        }
    }
    if (ahead.empty())
        return;
    const bool largestFirst = sourceDone;
    const qsizetype n = qsizetype(ahead.size()); // the whole list, when it is short
    std::vector<qsizetype> order;
    if (largestFirst) {
        std::vector<int64_t> sizes(ahead.size(), 0);
        for (size_t i = 0; i < ahead.size(); ++i) {
            struct stat st;
            if (::stat(suite::EncodeFileName(ahead[i].path).constData(), &st) == 0)
                sizes[i] = int64_t(st.st_size);
        }
        order.resize(ahead.size());
        std::iota(order.begin(), order.end(), qsizetype(0));
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return sizes[size_t(a)] > sizes[size_t(b)];
        });
    }
    const qsizetype window = largestFirst ? n : 256 * qsizetype(jobs);
    std::vector<TSlot> ring(static_cast<size_t>(window));
    std::mutex mutex;
    std::condition_variable workAvailable, resultReady;
    // Guarded by `mutex`: indices below `produced` have their file in the
    // ring; `next` is the next one to take (in `order` when set).
    qsizetype produced = 0, next = 0, emitted = 0;
    int idleWorkers = 0;
    bool mainWaiting = false, stop = false, allProduced = false;

    // Takes the next files to check, under the lock: one at a time from a
    // list sorted largest first (a big file must not hold others up), else
    // a run of neighbours, so that threads meet at the lock and wake each
    // other seldom; the runs shrink as the files in hand run low, to keep
    // the threads evenly busy.
    const auto claim = [&](std::vector<qsizetype> &taken) {
        taken.clear();
        qsizetype k = 1;
        if (!largestFirst)
            k = std::clamp<qsizetype>((produced - next) / (4 * qsizetype(jobs)), 1, 32);
        for (; k > 0 && next < produced; --k, ++next)
            taken.push_back(largestFirst ? order[size_t(next)] : next);
    };
    // Checks the files taken, then hands in their outcomes under the lock
    // (held on entry and on return).
    const auto checkTaken = [&](std::unique_lock<std::mutex> &lock, TFileChecker &checker,
                                const std::vector<qsizetype> &taken,
                                std::vector<TFileOutcome> &outs) {
        std::vector<TSourceFile> files;
        for (qsizetype i : taken)
            files.push_back(ring[size_t(i % window)].file);
        lock.unlock();
        outs.clear();
        for (size_t j = 0; j < files.size(); ++j) {
            TPercentCallback onPercent;
            if (hooks.onFilePercent)
                onPercent = [&, index = taken[j]](int32_t p) { hooks.onFilePercent(index, p); };
            outs.push_back(CheckOne(checker, files[j], settings, reference, onPercent));
            if (hooks.checked)
                ++*hooks.checked;
        }
        lock.lock();
        bool wanted = false;
        for (size_t j = 0; j < taken.size(); ++j) {
            TSlot &slot = ring[size_t(taken[j] % window)];
            slot.out = std::move(outs[j]);
            slot.ready = true;
            wanted = wanted || taken[j] == emitted;
        }
        // The sink's thread sleeps only for the result it needs next.
        if (mainWaiting && wanted)
            resultReady.notify_one();
    };

    auto worker = [&] {
        TFileChecker checker;
        std::vector<qsizetype> taken;
        std::vector<TFileOutcome> outs;
        std::unique_lock lock(mutex);
        for (;;) {
            if (!stop && next >= produced && !allProduced) {
                ++idleWorkers;
                workAvailable.wait(lock, [&] { return stop || next < produced || allProduced; });
                --idleWorkers;
            }
            if (stop || next >= produced)
                return;
            claim(taken);
            checkTaken(lock, checker, taken, outs);
        }
    };

    size_t aheadUsed = 0;
    TSourceFile p;
    // Hands the workers files up to the window's end. The source is read
    // outside the lock: the walk may take its time over a folder.
    auto topUp = [&] {
        std::vector<TSourceFile> batch;
        qsizetype have, room;
        {
            std::lock_guard lock(mutex);
            have = produced;
            room = emitted + window - produced;
        }
        while (qsizetype(batch.size()) < room) {
            if (aheadUsed < ahead.size()) {
                batch.push_back(std::move(ahead[aheadUsed++]));
            } else if (sourceDone || !source.Next(p)) {
                sourceDone = true;
                break;
            } else {
                batch.push_back(p);
            }
        }
        if (aheadUsed == ahead.size() && !ahead.empty())
            std::vector<TSourceFile>().swap(ahead);
        std::lock_guard lock(mutex);
        for (TSourceFile &file : batch)
            ring[size_t(have++ % window)].file = std::move(file);
        produced = have;
        allProduced = sourceDone && aheadUsed >= ahead.size();
        if (idleWorkers > 0 && (!batch.empty() || allProduced))
            workAvailable.notify_all();
    };

    // This thread is one of the `jobs`: between serving results it checks
    // files too, so no more threads run than were asked for.
    std::vector<std::thread> threads;
    topUp();
    for (int t = 1; t < jobs; ++t)
        threads.emplace_back(worker);

    TFileChecker checker;
    std::vector<qsizetype> taken;
    std::vector<TFileOutcome> outs;
    std::vector<TSlot> done;
    for (;;) {
        topUp();
        {
            std::unique_lock lock(mutex);
            if (allProduced && emitted == produced)
                break;
            if (!ring[size_t(emitted % window)].ready) {
                if (next < produced) {
                    claim(taken);
                    checkTaken(lock, checker, taken, outs);
                    continue;
                }
                mainWaiting = true;
                resultReady.wait(lock, [&] { return ring[size_t(emitted % window)].ready; });
                mainWaiting = false;
            }
            // Take every result that is ready in a row, then serve them
            // without the lock.
            done.clear();
            while (emitted < produced) {
                TSlot &slot = ring[size_t(emitted % window)];
                if (!slot.ready)
                    break;
                done.push_back(std::move(slot));
                slot = TSlot{};
                ++emitted;
            }
        }
        qsizetype index = emitted - qsizetype(done.size());
        bool go = true;
        for (const TSlot &s : done) {
            if (!hooks.sink(index++, s.file.path, s.out)) {
                go = false;
                break;
            }
        }
        if (!go) {
            std::lock_guard lock(mutex);
            stop = true;
            break;
        }
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    workAvailable.notify_all();
    for (auto &t : threads)
        t.join();
}

} // namespace engine
