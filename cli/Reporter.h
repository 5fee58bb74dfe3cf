// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TReporter: everything brindle-scan tells the user, in one place. Results
// go to standard output through a TLineWriter; errors and notes go to
// standard error as "brindle-scan: PATH: CAUSE", after the results written
// so far and out of the progress bar's way. It keeps what decides the exit
// status: 0 nothing suspect, 1 suspects found, 2 any error.

#include "OrderedRun.h"
#include "Printers.h"
#include "ProgressBar.h"
#include "ScanOptions.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>

namespace cli {

constexpr int kExitClean = 0, kExitSuspect = 1, kExitError = 2;

class TReporter {
public:
    // `extended`: lines carry the extended fields, and files too short to
    // judge are listed (they do not make the status 1).
    explicit TReporter(TOutputFormat format, int outFd = 1, bool extended = false);
    ~TReporter();

    // Shows a progress bar on standard error until Finish(); `total` < 0
    // when the number of files is not known.
    void ShowProgress(qsizetype total);
    // Files finished so far, whatever their order (the run counts them).
    std::atomic<qsizetype> &Checked() { return fChecked; }

    // An error: the run goes on, and ends with status 2.
    void Error(const QString &path, const QString &cause);
    // "brindle-scan: warning: TEXT".
    void Warning(const QString &text);

    // One file's outcome, in list order: a suspect's line, a failed read's
    // error, why a file the user named was passed over. False once the
    // output has been closed (the run should stop).
    bool Outcome(const QString &path, const engine::TFileOutcome &outcome);

    TLineWriter &Out() { return fOut; }
    qsizetype Errors() const { return fErrors; }
    // Flushes the output, reports a failed write, wipes the bar (printing a
    // one-line summary where there was one) and gives the exit status.
    int Finish();

private:
    // Runs `write`, which writes whole lines to standard error, after the
    // output so far and out of the bar's way.
    void ToStderr(const std::function<void()> &write);
    void ToStderr(const QString &path, const QString &cause);

    TOutputFormat fFormat;
    bool fExtended;
    TLineWriter fOut;
    std::atomic<qsizetype> fChecked{0};
    std::unique_ptr<TProgressBar> fBar;
    bool fResultsUnderBar = false; // results go to the bar's own terminal
    std::chrono::steady_clock::time_point fStart;
    qsizetype fSuspects = 0, fTooShort = 0, fErrors = 0;
    // Suspects by test ("size") and by code ("size", "nul"), for the summary.
    std::map<QString, qsizetype> fByTest, fByCode;
};

} // namespace cli
