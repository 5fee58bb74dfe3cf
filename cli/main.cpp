// brindle-scan: the detector's check from the command line.
#include "FileList.h"
#include "FileNames.h"
#include "File_utils.h"
#include "OrderedRun.h"
#include "PathEscape.h"
#include "Printers.h"
#include "ProfileFile.h"
#include "ProgressBar.h"
#include "ReferenceProfile.h"
#include "RunError.h"
#include "ScanOptions.h"
#include "ScanSource.h"
#include "Shards.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int kExitClean = 0, kExitSuspect = 1, kExitError = 2;

// The path goes out as in TSV: its exact bytes, but escaped where they would
// break the line (PathEscape.h), so the message names the very file.
void Error(const QString &path, const QString &cause) {
    std::fprintf(stderr, "brindle-scan: %s: %s\n", suite::TsvPath(path).constData(),
                 cause.toLocal8Bit().constData());
}

// Why a path given by name could not be checked: it is missing, or not a
// regular file.
QString MissingCause(const QString &path, bool *missing = nullptr) {
    struct stat st;
    const bool exists = ::stat(suite::EncodeFileName(path).constData(), &st) == 0;
    const int err = errno;
    if (missing)
        *missing = !exists;
    if (exists)
        return QStringLiteral("not a regular file");
    return suite::ErrnoText(err);
}

void UsageError(const QString &message) {
    std::fprintf(stderr, "brindle-scan: %s\nTry 'brindle-scan --help' for more.\n",
                 message.toLocal8Bit().constData());
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
        args << suite::DecodeFileName(argv[i]);
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

    const engine::TCheckSettings settings = engine::MakeCheckSettings(
        o.digraph, engine::kDefaultMinDigraphs, o.freqVariation, o.failPercent, o.encoding);

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
                Error(build.missing, MissingCause(build.missing));
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
        const QString cause =
            engine::SaveProfileFile(o.saveProfile, {reference, o.encoding, settings.min_digraphs});
        if (!cause.isEmpty()) {
            Error(o.saveProfile, cause);
            return kExitError;
        }
        if (o.folders.isEmpty() && o.filesFrom.isEmpty())
            return kExitClean;
    }

    // The files: the list's, then each folder's walk, streamed.
    bool anySuspect = false, anyError = false;
    QStringList listed;
    if (!o.filesFrom.isEmpty()) {
        const QString cause =
            cli::ReadFileList(o.filesFrom, o.nullSeparated, listed, [&](qsizetype line) {
                anyError = true;
                Error(o.filesFrom, QStringLiteral("line %1 holds a NUL character, which no path "
                                                  "can hold; the line is left out (list with -0 "
                                                  "to separate paths by NULs)")
                                       .arg(line));
            });
        if (!cause.isEmpty()) {
            Error(o.filesFrom, cause);
            return kExitError;
        }
    }
    // Unknown while walking, or before a shard has found its files.
    const qsizetype total = o.folders.isEmpty() && !o.shard ? listed.size() : -1;
    // A shard weighs the whole list first, on a second walk of it that
    // reports nothing.
    std::optional<cli::TScanSource> weighing;
    if (o.shard)
        weighing.emplace(listed, o.folders, o.subfolders);
    cli::TScanSource source(std::move(listed), o.folders, o.subfolders);
    std::optional<cli::TShardSource> shard;
    if (o.shard)
        shard.emplace(source, *weighing, *o.shard);
    engine::TFileSource &files = shard ? static_cast<engine::TFileSource &>(*shard) : source;
    // The position of a run's file in the whole list.
    const auto wholeIndex = [&](qsizetype i) { return shard ? shard->First() + i : i; };

    const int jobs = o.jobs > 0 ? o.jobs : int(std::max(1u, std::thread::hardware_concurrency()));
    const bool showProgress = o.progress == cli::TProgressMode::On ||
                              (o.progress == cli::TProgressMode::Auto && ::isatty(STDERR_FILENO));
    std::atomic<qsizetype> checked{0};
    cli::TLineWriter out(STDOUT_FILENO);
    // A bad folder is reported and the others still checked; a shard
    // reports only the folders in its part of the walk.
    std::function<void(const QString &, const QString &, bool)> folderError;
    source.onFolderError = [&](const QString &path, const QString &cause, bool walking) {
        if (shard)
            shard->Hold([=, &folderError] { folderError(path, cause, walking); });
        else
            folderError(path, cause, walking);
    };
    if (o.list) {
        folderError = [&](const QString &path, const QString &cause, bool walking) {
            anyError = true;
            out.Flush(); // keep stderr lines in step with stdout
            Error(path, walking ? QStringLiteral("folder could not be read: ") + cause : cause);
        };
        cli::WriteFileList(files, out, o.nullSeparated, [&](const QString &path) {
            anyError = true;
            Error(path, QStringLiteral("the name holds a line feed; list with -0"));
        });
    } else {
        std::unique_ptr<cli::TProgressBar> bar;
        if (showProgress)
            bar = std::make_unique<cli::TProgressBar>(total, checked);
        // Results written to the bar's own terminal go out line by line,
        // with the bar cleared first.
        const bool resultsUnderBar = bar && cli::SameFile(STDOUT_FILENO, STDERR_FILENO);
        auto onBarTerminal = [&](bool under, const std::function<void()> &write) {
            if (under)
                bar->Interrupt(write);
            else
                write();
        };
        folderError = [&](const QString &path, const QString &cause, bool walking) {
            anyError = true;
            out.Flush(); // keep stderr lines in step with stdout
            onBarTerminal(bar != nullptr, [&] {
                Error(path, walking ? QStringLiteral("folder could not be read: ") + cause : cause);
            });
        };
        engine::TRunHooks hooks;
        hooks.checked = &checked;
        hooks.sink = [&](qsizetype i, const QString &path, const engine::TFileOutcome &outcome) {
            if (outcome.failed) {
                anyError = true;
                out.Flush(); // keep stderr lines in step with stdout
                onBarTerminal(bar != nullptr, [&] { Error(path, outcome.error); });
                return !out.Closed();
            }
            if (outcome.result == engine::TCheckResult::Missing &&
                wholeIndex(i) < source.ListedCount()) {
                // Named by the user, so say why it was passed over. A missing
                // file is an error; another kind of file is passed over as a
                // walk would.
                bool missing = false;
                const QString cause = MissingCause(path, &missing);
                anyError = anyError || missing;
                out.Flush();
                onBarTerminal(bar != nullptr, [&] { Error(path, cause); });
                return !out.Closed();
            }
            if (outcome.result != engine::TCheckResult::Suspect)
                return true;
            anySuspect = true;
            const QByteArray line = o.format == cli::TOutputFormat::Jsonl
                                        ? cli::JsonLine(path, outcome.verdict)
                                        : cli::TsvLine(path, outcome.verdict);
            bool ok = true;
            onBarTerminal(resultsUnderBar,
                          [&] { ok = out.Line(line) && (!resultsUnderBar || out.Flush()); });
            return ok;
        };
        engine::OrderedRun(files, settings, haveReference ? &reference : nullptr, jobs, hooks);
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
