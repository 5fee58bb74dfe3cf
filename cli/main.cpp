// SPDX-License-Identifier: GPL-3.0-or-later
// brindle-scan: the detector's check from the command line. This file only
// wires the pieces: options, the reference, the files' sources, the run and
// the reporter that tells the user what it found.
#include "FileList.h"
#include "FileNames.h"
#include "OrderedRun.h"
#include "ProfileFile.h"
#include "ReferenceSets.h"
#include "Reporter.h"
#include "RunSetup.h"
#include "ScanOptions.h"
#include "ScanSource.h"
#include "Shards.h"

#include <csignal>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

void UsageError(const QString &message) {
    std::fprintf(stderr, "brindle-scan: %s\nTry 'brindle-scan --help' for more.\n",
                 message.toLocal8Bit().constData());
}

// A run that found nothing to check is no success to report silently.
void WarnIfNothingChecked(const cli::TScanOptions &o, const cli::TScanSource &source,
                          cli::TReporter &report) {
    QStringList names;
    for (const QString &folder : o.folders)
        names << suite::DisplayFileName(folder);
    if (!o.filesFrom.isEmpty())
        names << suite::DisplayFileName(o.filesFrom);
    QString text =
        QStringLiteral("no files were found to check in ") + names.join(QStringLiteral(", "));
    if (source.SkippedSubfolders())
        text += QStringLiteral(" (it has subfolders: -s checks them too)");
    report.Warning(text);
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
        return cli::kExitError;
    }
    const cli::TScanOptions &o = *parsed.options;
    cli::TReporter report(o.format, STDOUT_FILENO, o.extended);
    if (o.help || o.version) {
        report.Out().Line(o.help ? QByteArray(cli::UsageText())
                                 : QByteArray("brindle-scan " BRINDLE_VERSION "\n"));
        return report.Finish() == cli::kExitError ? cli::kExitError : cli::kExitClean;
    }

    // Figures with a full stop, whatever the locale.
    engine::TCheckSettings settings =
        engine::MakeCheckSettings(o.digraph, engine::kDefaultMinDigraphs, o.freqVariation,
                                  o.failPercent, o.encoding, engine::TDecimalSeparator::FullStop);
    settings.extended = o.extended;
    engine::TRunRequest request;
    request.references = o.references;
    request.profile = o.profile;
    for (const cli::TSetPath &s : o.sets)
        request.named.append({s.name, {s.path}});
    request.languages = o.languages;
    request.settings = settings;
    engine::TRunSetup setup;
    if (const auto failed = engine::BuildRunSetup(request, setup)) {
        report.Error(failed->path, failed->cause);
        return report.Finish();
    }
    if (!o.saveProfile.isEmpty()) {
        const QString cause = engine::SaveProfileFile(
            o.saveProfile,
            {setup.reference, engine::ReferenceEncoding(settings), settings.min_digraphs});
        if (!cause.isEmpty())
            report.Error(o.saveProfile, cause);
        if (!cause.isEmpty() || (o.folders.isEmpty() && o.filesFrom.isEmpty()))
            return report.Finish();
    }
    settings.sets = setup.sets;

    // The files: the list's, then each argument's, streamed.
    QStringList listed;
    if (!o.filesFrom.isEmpty()) {
        const QString cause =
            cli::ReadFileList(o.filesFrom, o.nullSeparated, listed, [&](qsizetype line) {
                report.Error(o.filesFrom,
                             QStringLiteral("line %1 holds a NUL character, which no path "
                                            "can hold; the line is left out (list with -0 "
                                            "to separate paths by NULs)")
                                 .arg(line));
            });
        if (!cause.isEmpty()) {
            report.Error(o.filesFrom, cause);
            return report.Finish();
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
    // Whatever was not checked and should have been; a shard reports only
    // what falls in its part of the walk.
    source.onError = [&](const QString &path, const QString &cause) {
        if (shard)
            shard->Hold([&report, path, cause] { report.Error(path, cause); });
        else
            report.Error(path, cause);
    };

    if (o.list) {
        cli::WriteFileList(files, report.Out(), o.nullSeparated, [&](const QString &path) {
            report.Error(path, QStringLiteral("the name holds a line feed; list with -0"));
        });
        return report.Finish();
    }
    const int jobs = o.jobs > 0 ? o.jobs : engine::DefaultJobs();
    if (o.progress == cli::TProgressMode::On ||
        (o.progress == cli::TProgressMode::Auto && ::isatty(STDERR_FILENO)))
        report.ShowProgress(total);
    engine::TRunHooks hooks;
    hooks.checked = &report.Checked();
    hooks.sink = [&](qsizetype, const QString &path, const engine::TFileOutcome &outcome) {
        return report.Outcome(path, outcome);
    };
    engine::OrderedRun(files, settings, setup.haveReference ? &setup.reference : nullptr, jobs,
                       hooks);
    // An empty shard of a list that has files is normal, and an error line
    // already said why a folder gave nothing.
    if (report.Checked() == 0 && report.Errors() == 0 && (!shard || shard->WholeCount() == 0))
        WarnIfNothingChecked(o, source, report);
    return report.Finish();
}
