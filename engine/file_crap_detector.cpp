// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_crap_detector.h"

#include "BackgroundRun.h"
#include "Dialogs.h"
#include "File_utils.h"
#include "FormatSettings.h"
#include "General_Trees.h"
#include "Mykpsmall.h"
#include "OrderedRun.h"
#include "ReferenceProfile.h"
#include "ResourceStrings.h"
#include "RunError.h"

#include <cmath>
#include <optional>

void TCrapFileWideStringlist::AddObject(const QString &name, TWideStringHolder *holder) {
    fItems.push_back({name, std::unique_ptr<TWideStringHolder>(holder)});
}

void TCrapFileWideStringlist::Clear() {
    for (auto &item : fItems)
        item.holder.reset();
    fItems.clear();
}

TFileCrapDetector::TFileCrapDetector() = default;
TFileCrapDetector::~TFileCrapDetector() = default;

engine::TCheckSettings TFileCrapDetector::Settings(bool thoroughly) const {
    engine::TCheckSettings settings =
        engine::MakeCheckSettings(thoroughly, min_digraphs, digraph_frequency_variation_per_mille,
                                  digraph_percent_fail_allowed, default_encoding);
    settings.extended = extended;
    if (extended)
        settings.sets = reference_sets;
    return settings;
}

bool TFileCrapDetector::JudgesBySets() const {
    return extended && reference_sets && !reference_sets->empty();
}

void TFileCrapDetector::SetReferenceFiles(const QString &Value) {
    // One name per line; the text of a list ends with a line break, which
    // gives no entry.
    // Split by hand: a regular expression refuses the escaped bytes of a name
    // that is not UTF-8 (see FileNames.h).
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < Value.size(); ++i) {
        const QChar c = Value.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << Value.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < Value.size() && Value.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines << Value.mid(start);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    SetReferenceFileList(lines);
}

void TFileCrapDetector::SetReferenceFileList(const QStringList &files) {
    fReferenceFiles = files;
    // A missing file has been named already; one message is enough. The
    // message shows the list as the text it was set from, a name a line.
    if (!BuildReference() && !fMissingReported) {
        QString text;
        for (const QString &f : files)
            text += f + QStringLiteral("\r\n");
        ReportReferenceProblem(text);
    }
}

void TFileCrapDetector::ReportReferenceProblem(const QString &value) {
    QString text = suite::QLREferenceTextTooShortOrProblematic().arg(value);
    if (!fReferenceProblem.isEmpty())
        text += QLatin1Char('\n') + fReferenceProblem;
    suite::FormCentredMessageDlg(nullptr, suite::Global_TimedOut, text, suite::TMsgDlgType::Error,
                                 suite::mbOK | suite::mbHelp, 0, 0, false);
}

bool TFileCrapDetector::BuildReference() {
    // Until this build succeeds there is no usable reference, even if it throws.
    reference_setup = false;
    fReferenceProblem.clear();
    fMissingReported = false;
    StartReferenceProfile();
    const engine::TReferenceBuild build =
        engine::BuildReferenceProfile(fReferenceFiles, default_encoding, min_digraphs, fChecker);
    reference_setup = build.status == engine::TReferenceBuild::Status::Ok;
    if (build.status == engine::TReferenceBuild::Status::Missing) {
        suite::FailedToFind(nullptr, build.missing);
        fMissingReported = true;
    }
    if (build.status == engine::TReferenceBuild::Status::NotText)
        fReferenceProblem = build.notText + QStringLiteral(": ") +
                            engine::NotTextCause(build.fileSize, build.textLength);
    if (reference_setup) {
        ref.profile = build.profile;
        ref.counts.reset();
    }
    return reference_setup;
}

void TFileCrapDetector::StartReferenceProfile() {
    ref.counts = std::make_unique<engine::TPairCounts>();
    ref.profile = engine::TDigraphProfile{};
}

void TFileCrapDetector::AddReferenceText(const QString &text) {
    if (!ref.counts)
        StartReferenceProfile();
    char16_t prev = 0;
    ref.counts->AddUnits(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()),
                         prev);
}

bool TFileCrapDetector::FinishReferenceProfile() {
    if (!ref.counts || ref.counts->Total() <= 0)
        return false;
    ref.profile = engine::MakeProfile(*ref.counts, min_digraphs);
    ref.counts.reset();
    return true;
}

bool TFileCrapDetector::FailsDigraphCheck(const QString &text) {
    too_many_str.clear();
    too_few_str.clear();
    MyYieldProcess();
    sample.counts = std::make_unique<engine::TPairCounts>();
    MyYieldProcess();
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const int64_t n = text.size();
    char16_t prev = 0;
    // Counted in steps of 1024 units so the progress calls fall where the
    // text's positions are multiples of 1024.
    for (int64_t at = 0; at < n; at += 1024) {
        const int64_t step = std::min<int64_t>(1024, n - at);
        sample.counts->AddUnits(units + at, size_t(step), prev);
        MyYieldProcess();
        if (fOnPercent2 && at + step == at + 1024)
            fOnPercent2(int32_t((at + 1024) * 100 / n));
    }
    struct Drop {
        sample_array &s;
        ~Drop() {
            s.counts.reset();
            s.profile = engine::TDigraphProfile{};
        }
    } drop{sample};
    sample.profile = engine::MakeProfile(*sample.counts, min_digraphs);
    const engine::TCheckSettings settings = Settings(true);
    const engine::TDigraphComparison cmp =
        engine::CompareProfiles(sample.profile, ref.profile, settings.freq_variation_per_mille,
                                settings.percent_fail_allowed, settings.decimal_separator);
    too_many_str = cmp.too_many;
    too_few_str = cmp.too_few;
    return cmp.fails;
}

bool TFileCrapDetector::BeginRun(bool thoroughly, const TOnPercentEvent &AOnPercent,
                                 const TOnPercentEvent &AOnPercent2) {
    weird_files.Clear();
    fLastRun = TRunCounts{};
    fUnreadableFolders.clear();
    fOnPercent = AOnPercent;
    fOnPercent2 = AOnPercent2;
    // The size test alone needs no reference, nor do the sets.
    if (thoroughly && !JudgesBySets() && !reference_setup && !BuildReference())
        return false;
    processing = true;
    return true;
}

void TFileCrapDetector::EndRun() {
    fLastRun.finished = processing && fLastRun.checked == fLastRun.files;
    if (processing && fOnPercent) {
        fOnPercent(100);
        if (fOnPercent2)
            fOnPercent2(100);
    }
}

void TFileCrapDetector::CheckForCrap(const QStringList &files, bool thoroughly,
                                     const TOnPercentEvent &AOnPercent,
                                     const TOnPercentEvent &AOnPercent2) {
    if (!BeginRun(thoroughly, AOnPercent, AOnPercent2))
        return;
    fLastRun.files = files.size();
    engine::TListSource source(files);
    engine::TRunHooks hooks;
    qsizetype next = 0;
    // Before each file: the run ends here once `processing` is false. The
    // percent callback may stop it too, but the file it announces is still
    // checked: a run ends only between files.
    hooks.between = [&] {
        if (!processing)
            return false;
        if (fOnPercent && next < files.size())
            fOnPercent(int32_t(std::nearbyint(double(next) * 100.0 / double(files.size()))));
        ++next;
        return true;
    };
    hooks.onPercent = fOnPercent2;
    hooks.sink = [&](qsizetype, const QString &path, const engine::TFileOutcome &outcome) {
        Take(path, outcome);
        return true;
    };
    engine::OrderedRun(source, Settings(thoroughly), reference_setup ? &ref.profile : nullptr, 1,
                       hooks);
    EndRun();
}

void TFileCrapDetector::CheckFolder(const QString &folder, bool subfolders, bool thoroughly,
                                    const TOnPercentEvent &AOnPercent,
                                    const TOnPercentEvent &AOnPercent2, int jobs) {
    if (!BeginRun(thoroughly, AOnPercent, AOnPercent2))
        return;
    auto source = std::make_unique<engine::TWalkAheadSource>(
        folder, subfolders, engine::TWalkAheadSource::kMaxAhead, follow_links);
    engine::TWalkAheadSource *walk = source.get();
    RunInBackground(
        std::move(source), [walk] { return walk->Total(); }, thoroughly, jobs);
    EndRun();
}

void TFileCrapDetector::RunInBackground(std::unique_ptr<engine::TFileSource> source,
                                        const std::function<qsizetype()> &total, bool thoroughly,
                                        int jobs) {
    // Long enough for the workers to get ahead, short enough that the
    // callbacks (and so the window's events) come every few milliseconds.
    constexpr int kWaitMs = 4;
    qsizetype files = total();
    const auto share = [&](qsizetype done) {
        if (files < 0)
            files = total();
        return files <= 0 ? 0 : int32_t(std::nearbyint(double(done) * 100.0 / double(files)));
    };
    engine::TFileSource *src = source.get();
    engine::TBackgroundRun run(std::move(source), Settings(thoroughly),
                               reference_setup ? &ref.profile : nullptr, std::max(jobs, 1));
    std::vector<engine::TTakenOutcome> batch;
    qsizetype next = 0;
    bool more = true;
    // Before the run (and its source) goes: what only the end can tell.
    const auto finish = [&] {
        run.Stop();
        fLastRun.files = total();
        if (auto *walk = dynamic_cast<engine::TWalkAheadSource *>(src))
            fUnreadableFolders = walk->Unreadable();
    };
    while (more) {
        more = run.Take(batch, kWaitMs);
        for (const engine::TTakenOutcome &t : batch) {
            // The run ends before an outcome once `processing` is false; the
            // outcome announced is taken.
            if (!processing) {
                finish();
                return;
            }
            if (fOnPercent)
                fOnPercent(share(next));
            ++next;
            Take(t.path, t.outcome);
        }
        if (batch.empty() && more) {
            // Waiting for a file: the callbacks still come, so that Stop and
            // repaints get through and the bar within the text moves.
            if (fOnPercent)
                fOnPercent(share(next));
            if (thoroughly && fOnPercent2)
                fOnPercent2(run.PercentOfNext());
        }
    }
    finish();
}

void TFileCrapDetector::Take(const QString &path, const engine::TFileOutcome &outcome) {
    ++fLastRun.checked;
    if (outcome.failed) {
        // Listed with its cause; the run goes on.
        ++fLastRun.unreadable;
        engine::TVerdict verdict;
        verdict.reason = outcome.error;
        List(path, verdict, engine::TCheckResult::Missing, true);
        return;
    }
    if (outcome.result == engine::TCheckResult::Missing)
        ++fLastRun.gone;
    if (outcome.result == engine::TCheckResult::Suspect) {
        if (outcome.verdict.test == engine::TSuspectTest::Digraph)
            ++fLastRun.digraph_suspects;
        else if (outcome.verdict.test == engine::TSuspectTest::Damage)
            ++fLastRun.damage_suspects;
        else
            ++fLastRun.size_suspects;
        List(path, outcome.verdict, outcome.result);
    } else if (outcome.result == engine::TCheckResult::TooShort ||
               outcome.result == engine::TCheckResult::NotJudged) {
        // Listed, so that the user sees which files were not judged, but
        // counted apart: it is no suspect.
        ++fLastRun.too_short;
        List(path, outcome.verdict, outcome.result);
    }
}

void TFileCrapDetector::List(const QString &path, const engine::TVerdict &verdict,
                             engine::TCheckResult result, bool unreadable) {
    if (result == engine::TCheckResult::Suspect && verdict.test == engine::TSuspectTest::Digraph) {
        too_many_str = verdict.too_many;
        too_few_str = verdict.too_few;
    }
    weird_files.AddObject(path, new TWideStringHolder(verdict, result, unreadable));
    if (fOnListed)
        fOnListed(weird_files.Count() - 1);
}
