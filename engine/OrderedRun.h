// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one run over many files that both front ends drive: files from a
// source, checked on `jobs` threads, outcomes handed back in list order on
// the calling thread, so output never interleaves or reorders and the
// verdicts are exactly those of checking the files one by one.
//
// With one job the files are checked on the calling thread itself, between
// calls of the `between` hook, so an event loop can be pumped there and a
// within-file progress callback can be given. With more jobs, the calling
// thread and jobs - 1 workers check a bounded window of files ahead of the
// sink, so memory stays flat however long the list; they take runs of
// neighbouring files at a time, so they seldom wait on each other. A short
// list (it ends within kShortList files) is checked one file at a time,
// largest first, so no thread is left with a big file at the end while the
// others idle.

#include "FileCheck.h"
#include "FileSource.h"

#include <QString>
#include <atomic>
#include <functional>

namespace engine {

struct TFileOutcome {
    TCheckResult result = TCheckResult::Missing;
    bool failed = false; // could not be read; `error` says why
    QString error;
    TVerdict verdict;
    // Missing: the errno that said so, 0 when the path is not a regular file.
    int missingError = 0;
    bool named = false; // the source file's `named`
};

struct TRunHooks {
    // Called in list order on the calling thread; false stops the run (for
    // example, the output was closed).
    std::function<bool(qsizetype index, const QString &path, const TFileOutcome &outcome)> sink;
    // One job only: called on the calling thread before each file; false
    // stops the run.
    std::function<bool()> between;
    // One job only: progress through the text of a file under the digraph
    // check (TFileChecker::Check's onPercent2).
    TPercentCallback onPercent;
    // More jobs: progress through the text of file `index` under the digraph
    // check, called on whichever thread checks it.
    std::function<void(qsizetype index, int32_t percent)> onFilePercent;
    // Counts files finished, whatever their order (for a progress display).
    std::atomic<qsizetype> *checked = nullptr;
};

constexpr qsizetype kShortList = 4096;

// The number of jobs a run takes unless told otherwise: one per core.
int DefaultJobs();

void OrderedRun(TFileSource &source, const TCheckSettings &settings,
                const TDigraphProfile *reference, int jobs, const TRunHooks &hooks);

// Checks one file, turning a read error into a failed outcome.
TFileOutcome CheckOne(TFileChecker &checker, const TSourceFile &file,
                      const TCheckSettings &settings, const TDigraphProfile *reference,
                      const TPercentCallback &onPercent = {});

} // namespace engine
