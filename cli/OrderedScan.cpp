#include "OrderedScan.h"

#include "RunError.h"

#include <QFile>

#include <condition_variable>
#include <mutex>
#include <numeric>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace cli {

namespace {

constexpr qsizetype kReorderLimit = 4096;

TFileOutcome CheckOne(engine::TFileChecker &checker, const QString &path,
                      const engine::TCheckSettings &settings,
                      const engine::TDigraphProfile *reference) {
    TFileOutcome out;
    try {
        out.result = checker.Check(path, settings, reference, {}, out.verdict);
    } catch (const suite::TRunError &e) {
        out.failed = true;
        out.error = e.cause();
    } catch (const std::bad_alloc &) {
        out.failed = true;
        out.error = QStringLiteral("out of memory");
    }
    return out;
}

} // namespace

void OrderedScan(const QStringList &files, const engine::TCheckSettings &settings,
                 const engine::TDigraphProfile *reference, int jobs, const TOutcomeSink &sink,
                 std::atomic<qsizetype> *checked) {
    const qsizetype n = files.size();
    if (jobs <= 1 || n <= 1) {
        engine::TFileChecker checker;
        for (qsizetype i = 0; i < n; ++i) {
            const TFileOutcome out = CheckOne(checker, files.at(i), settings, reference);
            if (checked)
                ++*checked;
            if (!sink(i, out))
                return;
        }
        return;
    }

    // A short list is checked largest file first (its sizes cost a stat
    // each), so no worker is left with a big file at the end while the others
    // idle; the output still follows the list. A long list keeps its order and
    // a bounded window of results.
    const bool largestFirst = n <= kReorderLimit;
    std::vector<qsizetype> order;
    if (largestFirst) {
        std::vector<int64_t> sizes(static_cast<size_t>(n), 0);
        for (qsizetype i = 0; i < n; ++i) {
            struct stat st;
            if (::stat(QFile::encodeName(files.at(i)).constData(), &st) == 0)
                sizes[size_t(i)] = int64_t(st.st_size);
        }
        order.resize(static_cast<size_t>(n));
        std::iota(order.begin(), order.end(), qsizetype(0));
        std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            return sizes[size_t(a)] > sizes[size_t(b)];
        });
    }
    const qsizetype window = largestFirst ? n : 256 * qsizetype(jobs);
    std::vector<TFileOutcome> ring(static_cast<size_t>(window));
    std::vector<char> ready(static_cast<size_t>(window), 0);
    std::mutex mutex;
    std::condition_variable workAvailable, resultReady;
    qsizetype next = 0, emitted = 0;
    bool stop = false;

    auto worker = [&] {
        engine::TFileChecker checker;
        for (;;) {
            qsizetype i;
            {
                std::unique_lock lock(mutex);
                workAvailable.wait(lock,
                                   [&] { return stop || next >= n || next < emitted + window; });
                if (stop || next >= n)
                    return;
                i = largestFirst ? order[size_t(next)] : next;
                ++next;
            }
            TFileOutcome out = CheckOne(checker, files.at(i), settings, reference);
            if (checked)
                ++*checked;
            std::lock_guard lock(mutex);
            ring[size_t(i % window)] = std::move(out);
            ready[size_t(i % window)] = 1;
            if (i == emitted)
                resultReady.notify_one();
        }
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < jobs; ++t)
        threads.emplace_back(worker);

    while (emitted < n) {
        TFileOutcome out;
        {
            std::unique_lock lock(mutex);
            resultReady.wait(lock, [&] { return ready[size_t(emitted % window)] != 0; });
            out = std::move(ring[size_t(emitted % window)]);
            ready[size_t(emitted % window)] = 0;
        }
        const qsizetype index = emitted;
        {
            std::lock_guard lock(mutex);
            ++emitted;
        }
        workAvailable.notify_all();
        if (!sink(index, out)) {
            std::lock_guard lock(mutex);
            stop = true;
            break;
        }
    }
    workAvailable.notify_all();
    for (auto &t : threads)
        t.join();
}

} // namespace cli
