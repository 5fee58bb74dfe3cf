// SPDX-License-Identifier: GPL-3.0-or-later
#include "Reporter.h"

#include "File_utils.h"
#include "PathEscape.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace cli {

namespace {

// The path as in TSV (its exact bytes, escaped where they would break the
// line), so the message names the very file.
void PrintError(const QString &path, const QString &cause) {
    std::fprintf(stderr, "brindle-scan: %s: %s\n", suite::TsvPath(path).constData(),
                 cause.toLocal8Bit().constData());
}

// "digraph 20, size 3", in name order.
QByteArray Counts(const std::map<QString, qsizetype> &counts) {
    QByteArray out;
    for (const auto &[name, n] : counts) {
        if (!out.isEmpty())
            out += ", ";
        out += name.toUtf8() + ' ' + QByteArray::number(qlonglong(n));
    }
    return out;
}

} // namespace

TReporter::TReporter(TOutputFormat format, int outFd, bool extended)
    : fFormat(format), fExtended(extended), fOut(outFd), fStart(std::chrono::steady_clock::now()) {}

TReporter::~TReporter() = default;

void TReporter::ShowProgress(qsizetype total) {
    fBar = std::make_unique<TProgressBar>(total, fChecked);
    fResultsUnderBar = SameFile(STDOUT_FILENO, STDERR_FILENO);
}

void TReporter::ToStderr(const std::function<void()> &write) {
    fOut.Flush(); // keep standard error in step with standard output
    if (fBar)
        fBar->Interrupt(write);
    else
        write();
}

void TReporter::ToStderr(const QString &path, const QString &cause) {
    ToStderr([&] { PrintError(path, cause); });
}

void TReporter::Error(const QString &path, const QString &cause) {
    ++fErrors;
    ToStderr(path, cause);
}

void TReporter::Warning(const QString &text) {
    ToStderr([&] {
        std::fprintf(stderr, "brindle-scan: warning: %s\n", text.toLocal8Bit().constData());
    });
}

bool TReporter::Outcome(const QString &path, const engine::TFileOutcome &outcome) {
    if (outcome.failed) {
        Error(path, outcome.error);
        return !fOut.Closed();
    }
    if (outcome.result == engine::TCheckResult::Missing) {
        // A walk's file that went away is passed over quietly; one the user
        // named and that was not checked is an error, missing or not a
        // regular file (a FIFO, a folder, a device) alike.
        if (outcome.named)
            Error(path, outcome.missingError != 0
                            ? suite::ErrnoText(outcome.missingError)
                            : QStringLiteral("not a regular file, so it was not checked"));
        return !fOut.Closed();
    }
    const bool tooShort = outcome.result == engine::TCheckResult::TooShort;
    if (outcome.result != engine::TCheckResult::Suspect && !(tooShort && fExtended))
        return true;
    ++(tooShort ? fTooShort : fSuspects);
    if (!tooShort) {
        ++fByTest[engine::TestName(outcome.verdict.test)];
        ++fByCode[engine::VerdictCode(outcome.verdict, false)];
    }
    const QByteArray line = fFormat == TOutputFormat::Jsonl
                                ? JsonLine(path, outcome.verdict, fExtended, outcome.result)
                                : TsvLine(path, outcome.verdict, fExtended, outcome.result);
    if (!fResultsUnderBar)
        return fOut.Line(line);
    bool ok = true;
    fBar->Interrupt([&] { ok = fOut.Line(line) && fOut.Flush(); });
    return ok;
}

int TReporter::Finish() {
    fOut.Flush();
    const int written = fOut.Error();
    // A closed pipe is the reader's choice; any other failed write is ours.
    if (written != 0 && written != EPIPE) {
        ++fErrors;
        ToStderr(QStringLiteral("standard output"), QString::fromLocal8Bit(std::strerror(written)));
    }
    if (fBar) {
        fBar.reset();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - fStart).count();
        // Too-short files are neither suspect nor passed: counted apart.
        const QByteArray tooShort =
            fExtended ? ", " + QByteArray::number(qlonglong(fTooShort)) + " too short" : "";
        std::fprintf(stderr, "brindle-scan: %lld files checked, %lld suspect%s, %lld %s, %s s\n",
                     qlonglong(fChecked.load()), qlonglong(fSuspects), tooShort.constData(),
                     qlonglong(fErrors), fErrors == 1 ? "error" : "errors",
                     QByteArray::number(seconds, 'f', 1).constData());
        if (fExtended && fSuspects > 0)
            std::fprintf(stderr, "brindle-scan: suspect by test: %s; by code: %s\n",
                         Counts(fByTest).constData(), Counts(fByCode).constData());
    }
    if (fErrors > 0)
        return kExitError;
    return fSuspects > 0 ? kExitSuspect : kExitClean;
}

} // namespace cli
