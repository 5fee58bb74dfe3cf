#pragma once
// Checks a file list on several threads and hands the outcomes back in list
// order, on the calling thread, so output never interleaves or reorders.
// Workers run at most a fixed window of files ahead of the printer, so
// memory stays bounded however long the list.

#include "FileCheck.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

namespace cli {

struct TFileOutcome {
    engine::TCheckResult result = engine::TCheckResult::Missing;
    bool failed = false; // could not be read; `error` says why
    QString error;
    engine::TVerdict verdict;
};

// Called in list order; returning false stops the scan (e.g. output closed).
using TOutcomeSink = std::function<bool(qsizetype index, const TFileOutcome &outcome)>;

// `checked` counts files finished (for progress), whatever their order.
void OrderedScan(const QStringList &files, const engine::TCheckSettings &settings,
                 const engine::TDigraphProfile *reference, int jobs, const TOutcomeSink &sink,
                 std::atomic<qsizetype> *checked = nullptr);

} // namespace cli
