#include "OrderedRun.h"

#include "FileNames.h"
#include "RunError.h"

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
    try {
        out.result =
            checker.Check(file.path, settings, reference, onPercent, out.verdict, file.seenRegular);
    } catch (const suite::TRunError &e) {
        out.failed = true;
        out.error = e.cause();
    } catch (const std::bad_alloc &) {
        out.failed = true;
        out.error = QStringLiteral("out of memory");
    }
    return out;
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
    // Guarded by `mutex`: indices below `produced` have their path in the
    // ring; `next` is the next one a worker takes (in `order` when set).
    qsizetype produced = 0, next = 0, emitted = 0;
    int idleWorkers = 0;
    bool mainWaiting = false, stop = false, allProduced = false;

    auto worker = [&] {
        TFileChecker checker;
        std::unique_lock lock(mutex);
        for (;;) {
            if (!stop && next >= produced && !allProduced) {
                ++idleWorkers;
                workAvailable.wait(lock, [&] { return stop || next < produced || allProduced; });
                --idleWorkers;
            }
            if (stop || next >= produced)
                return;
            const qsizetype i = largestFirst ? order[size_t(next)] : next;
            ++next;
            const TSourceFile file = ring[size_t(i % window)].file;
            lock.unlock();
            TFileOutcome out = CheckOne(checker, file, settings, reference);
            if (hooks.checked)
                ++*hooks.checked;
            lock.lock();
            TSlot &slot = ring[size_t(i % window)];
            slot.out = std::move(out);
            slot.ready = true;
            // The sink's thread sleeps only for the result it needs next.
            if (mainWaiting && i == emitted)
                resultReady.notify_one();
        }
    };

    size_t aheadUsed = 0;
    TSourceFile p;
    // Hands the workers paths up to the window's end. The source is read
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

    std::vector<std::thread> threads;
    topUp();
    for (int t = 0; t < jobs; ++t)
        threads.emplace_back(worker);

    std::vector<TSlot> done;
    for (;;) {
        topUp();
        {
            std::unique_lock lock(mutex);
            if (allProduced && emitted == produced)
                break;
            if (!ring[size_t(emitted % window)].ready) {
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
