// brindle-scan: the detector's check from the command line.
#include "FormatSettings.h"
#include "OrderedScan.h"
#include "Printers.h"
#include "ProfileFile.h"
#include "ProgressBar.h"
#include "ReferenceProfile.h"
#include "RunError.h"
#include "ScanOptions.h"
#include "TFileAndDirIterator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kExitClean = 0, kExitSuspect = 1, kExitError = 2;

void Error(const QString &path, const QString &cause) {
    std::fprintf(stderr, "brindle-scan: %s: %s\n", path.toLocal8Bit().constData(),
                 cause.toLocal8Bit().constData());
}

void UsageError(const QString &message) {
    std::fprintf(stderr, "brindle-scan: %s\nTry 'brindle-scan --help' for more.\n",
                 message.toLocal8Bit().constData());
}

// One path per line, in order; a CR before the LF and empty lines are dropped.
bool ReadFileList(const QString &name, QStringList &files) {
    QFile list;
    const bool ok = name == QLatin1String("-")
                        ? list.open(stdin, QIODevice::ReadOnly)
                        : (list.setFileName(name), list.open(QIODevice::ReadOnly));
    if (!ok) {
        Error(name, list.errorString());
        return false;
    }
    while (!list.atEnd()) {
        QByteArray line = list.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            files << QFile::decodeName(line);
    }
    return true;
}

// Reports a failed write to standard output; a closed pipe stays quiet.
void OutputError(int error) {
    if (error != EPIPE)
        Error(QStringLiteral("standard output"), QString::fromLocal8Bit(std::strerror(error)));
}

bool StdoutWritten() {
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    OutputError(errno);
    return false;
}

} // namespace

int main(int argc, char **argv) {
    // A closed output pipe shows up as a failed write, handled quietly.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QFile::decodeName(argv[i]);
    const cli::TParseResult parsed = cli::ParseScanOptions(args);
    if (!parsed.options) {
        UsageError(parsed.error);
        return kExitError;
    }
    const cli::TScanOptions &o = *parsed.options;
    if (o.help || o.version) {
        std::fputs(o.help ? cli::UsageText() : "brindle-scan " BRINDLE_VERSION "\n", stdout);
        return StdoutWritten() ? kExitClean : kExitError;
    }

    engine::TCheckSettings settings;
    settings.thoroughly = o.digraph;
    settings.freq_variation_per_mille = o.freqVariation;
    settings.percent_fail_allowed = o.failPercent;
    settings.encoding = o.encoding;
    settings.decimal_separator = suite::UserDefaultFormatSettings().DecimalSeparator;

    engine::TDigraphProfile reference;
    const bool haveReference = !o.references.isEmpty() || !o.profile.isEmpty();
    if (!o.profile.isEmpty()) {
        engine::TProfileRead read = engine::ReadProfileFile(o.profile);
        const QString cause =
            read.saved ? engine::ProfileMismatch(*read.saved, o.encoding, settings.min_digraphs)
                       : read.error;
        if (!cause.isEmpty()) {
            Error(o.profile, cause);
            return kExitError;
        }
        reference = std::move(read.saved->profile);
    }
    if (!o.references.isEmpty()) {
        engine::TFileChecker checker;
        try {
            const engine::TReferenceBuild build = engine::BuildReferenceProfile(
                o.references, o.encoding, settings.min_digraphs, checker);
            if (build.status == engine::TReferenceBuild::Status::Missing) {
                Error(build.missing, QFileInfo(build.missing).exists()
                                         ? QStringLiteral("not a regular file")
                                         : QStringLiteral("No such file or directory"));
                return kExitError;
            }
            if (build.status == engine::TReferenceBuild::Status::NotText) {
                Error(build.notText, engine::NotTextCause(build.fileSize, build.textLength));
                return kExitError;
            }
            if (build.status == engine::TReferenceBuild::Status::NoDigraphs) {
                Error(o.references.join(QStringLiteral(", ")),
                      QStringLiteral(
                          "no letter pairs to profile: the reference is too short or not text"));
                return kExitError;
            }
            reference = build.profile;
        } catch (const suite::TRunError &e) {
            Error(e.path(), e.cause());
            return kExitError;
        }
    }

    if (!o.saveProfile.isEmpty()) {
        const QString cause = engine::SaveProfileFile(
            o.saveProfile, {reference, o.encoding, settings.min_digraphs});
        if (!cause.isEmpty()) {
            Error(o.saveProfile, cause);
            return kExitError;
        }
        if (o.folders.isEmpty() && o.filesFrom.isEmpty())
            return kExitClean;
    }

    QStringList files;
    bool anySuspect = false, anyError = false;
    if (!o.filesFrom.isEmpty()) {
        if (!ReadFileList(o.filesFrom, files))
            return kExitError;
    }
    for (const QString &name : o.folders) {
        // A bad folder is reported and the others still checked.
        const QFileInfo folder(name);
        if (!folder.isDir()) {
            Error(name, folder.exists() ? QStringLiteral("Not a directory")
                                        : QStringLiteral("No such file or directory"));
            anyError = true;
            continue;
        }
        suite::TFileAndDirIterator walk;
        walk.HeadDir = QDir::cleanPath(folder.absoluteFilePath());
        walk.IncludeSubFolders = o.subfolders;
        walk.IterateFindingFiles();
        walk.BuildDetailedList();
        for (const QString &unreadable : walk.Unreadable())
            Error(unreadable, QStringLiteral("folder could not be read"));
        files += walk.FoundFiles();
    }

    const int jobs = o.jobs > 0 ? o.jobs : int(std::max(1u, std::thread::hardware_concurrency()));
    const bool showProgress = o.progress == cli::TProgressMode::On ||
                              (o.progress == cli::TProgressMode::Auto && ::isatty(STDERR_FILENO));
    std::atomic<qsizetype> checked{0};
    cli::TLineWriter out(STDOUT_FILENO);
    {
        std::unique_ptr<cli::TProgressBar> bar;
        if (showProgress)
            bar = std::make_unique<cli::TProgressBar>(files.size(), checked);
        // Results written to the bar's own terminal go out line by line,
        // with the bar cleared first.
        const bool resultsUnderBar = bar && cli::SameFile(STDOUT_FILENO, STDERR_FILENO);
        auto onBarTerminal = [&](bool under, const std::function<void()> &write) {
            if (under)
                bar->Interrupt(write);
            else
                write();
        };
        cli::OrderedScan(
            files, settings, haveReference ? &reference : nullptr, jobs,
            [&](qsizetype i, const cli::TFileOutcome &outcome) {
                if (outcome.failed) {
                    anyError = true;
                    out.Flush(); // keep stderr lines in step with stdout
                    onBarTerminal(bar != nullptr, [&] { Error(files.at(i), outcome.error); });
                    return !out.Closed();
                }
                if (outcome.result != engine::TCheckResult::Suspect)
                    return true;
                anySuspect = true;
                const QByteArray line = o.format == cli::TOutputFormat::Jsonl
                                            ? cli::JsonLine(files.at(i), outcome.verdict)
                                            : cli::TsvLine(files.at(i), outcome.verdict);
                bool ok = true;
                onBarTerminal(resultsUnderBar, [&] {
                    ok = out.Line(line) && (!resultsUnderBar || out.Flush());
                });
                return ok;
            },
            &checked);
    }
    out.Flush();
    if (out.Error()) {
        OutputError(out.Error());
        if (out.Error() != EPIPE)
            return kExitError;
    }
    if (anyError)
        return kExitError;
    return anySuspect ? kExitSuspect : kExitClean;
}
