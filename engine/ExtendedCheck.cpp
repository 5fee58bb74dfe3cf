// SPDX-License-Identifier: GPL-3.0-or-later
// The extended check of one file (TFileChecker::Check with
// settings.extended): damage, then size, then "too short to judge", then
// the letter pairs against the closest reference set, each only when the
// one before found nothing.

#include "Damage.h"
#include "DigraphScore.h"
#include "FileCheck.h"
#include "Mykpsmall.h"
#include "PairDeviations.h"
#include "ReferenceSets.h"

namespace engine {

namespace {

// The explanation keeps the pairs that deviate most, enough for a chart.
constexpr size_t kExplainedPairs = 20;

// The pairs counted at least `minFreq` times: what TakeProfile with that
// least count gives from the same counter.
void KeepAtLeast(const TDigraphProfile &all, int32_t minFreq, TDigraphProfile &kept) {
    kept.entries.clear();
    for (const TProfileEntry &e : all.entries)
        if (e.count >= minFreq)
            kept.entries.push_back(e);
    kept.digraphs = all.digraphs;
}

// A judged file strays from its closest set when both say so: the default
// comparison against that set fails, and the score is over the set's cut.
// Each alone lists good text the other clears: the comparison, on a single
// tolerance for every length, fails good short texts (a few hundred words
// hold too few of each pair for a steady frequency); the cut, calibrated for
// chance alone, falls under the divergence that topic and style give a long
// good text. On mixed good texts and letter-level damage (pairs shifted,
// reversed, shuffled, random, encoded) either test alone listed about one
// good text in ten, both together none, and both together still caught nine
// damaged texts in ten, the rest mostly having too few pairs left to tell.
//
// The score alone is enough where the run has other sets to measure it by:
// a text further from its closest set than the nearest other set is from it
// (another language, when the sets are languages) is no text of that set's
// kind, whatever its topic; still only above the cut, so that chance in a
// short text is never taken for it. Letters shuffled within their words
// keep most pair frequencies within the tolerance and are caught this way.
bool Strays(bool classicFails, double score, const TReferenceSet &set, double cut) {
    if (set.nearest_other >= 0.0 && score > set.nearest_other && score > cut)
        return true;
    return classicFails && (cut < 0.0 || score > cut);
}

} // namespace

void TFileChecker::TakeProfiles(const TFileMeasure &m, bool asUtf8, int32_t minDigraphs) {
    bool counted = false;
    TFileMeasure read = m;
    if (asUtf8) {
        fBytes.Reset();
        fWide.Reset();
        read.kind = TTextKind::Utf8;
        read.markLength = 0;
        fFile.Count(read, TDigraphSinks{nullptr, &fWide, nullptr});
        fFile.CheckUnchanged();
    }
    if (read.kind == TTextKind::Ansi)
        counted = TakeProfile(fBytes, 1, fAll);
    else if (fWide.Overflowed())
        fWide.Reset();
    else
        counted = TakeProfile(fWide, 1, fAll);
    if (counted) {
        KeepAtLeast(fAll, minDigraphs, fSample);
        return;
    }
    // As in the default check: too many distinct letters for the flat
    // table, or enough distinct pairs that the order of first occurrence
    // shapes the comparison's profile.
    fOrdered.Clear();
    fFile.Count(read, TDigraphSinks{nullptr, nullptr, &fOrdered});
    fFile.CheckUnchanged();
    fSample = MakeProfile(fOrdered, minDigraphs);
    fAll = MakeProfile(fOrdered, 1);
}

TCheckResult TFileChecker::CheckExtended(const TCheckSettings &settings,
                                         const TPercentCallback &onPercent2, TVerdict &verdict) {
    const bool judge = settings.thoroughly && settings.sets && !settings.sets->empty();
    if (judge) {
        fBytes.Reset();
        fWide.Reset();
        fOrdered.Clear();
    }
    const TBytesReadCallback onRead = judge ? ReadProgress(onPercent2) : TBytesReadCallback{};
    TTextFeatures features;
    const TFileMeasure m = fFile.Measure(
        settings.encoding, judge ? TDigraphSinks{&fBytes, &fWide, nullptr} : TDigraphSinks{},
        onRead, &features);
    fFile.CheckUnchanged();

    verdict = TVerdict{};
    verdict.file_size = m.size;
    verdict.text_length = m.length;
    if (const std::optional<TDamage> damage = FindDamage(m, features)) {
        verdict.test = TSuspectTest::Damage;
        verdict.code = QString(DamageCodeName(damage->code));
        verdict.offset = damage->offset;
        verdict.reason = damage->reason;
        return TCheckResult::Suspect;
    }
    if (FailsSizeTest(m)) {
        verdict.test = TSuspectTest::Size;
        verdict.code = QStringLiteral("size");
        verdict.reason = SizeReason(m.size, m.length);
        return TCheckResult::Suspect;
    }
    if (!judge)
        return TCheckResult::Passed;
    MyYieldProcess();

    // Letter pairs are judged on the text as it was meant: 8-bit bytes that
    // are valid UTF-8 with any non-ASCII among them are UTF-8 without a mark.
    const bool asUtf8 = m.kind == TTextKind::Ansi && features.validUtf8 && features.nonAscii > 0;
    TakeProfiles(m, asUtf8, settings.min_digraphs);
    verdict.digraphs = fAll.digraphs;
    const int64_t needed =
        MinDigraphsToJudge(settings.freq_variation_per_mille, settings.percent_fail_allowed);
    if (fAll.digraphs < needed) {
        verdict.test = TSuspectTest::TooShort;
        verdict.code = QStringLiteral("too-short");
        verdict.reason = TooShortReason(fAll.digraphs, needed);
        return TCheckResult::TooShort;
    }

    // With one set there is nothing to choose from, and a file the
    // comparison passes passes: its score and the set's cut are not needed.
    const TReferenceSets &sets = *settings.sets;
    double score = 1.0;
    const TReferenceSet &set = sets.size() == 1 ? sets.front() : *ClosestSet(fAll, sets, score);
    const TDigraphComparison cmp =
        CompareProfiles(fSample, set.profile, settings.freq_variation_per_mille,
                        settings.percent_fail_allowed, settings.decimal_separator, true);
    if (sets.size() == 1) {
        if (!cmp.fails)
            return TCheckResult::Passed;
        score = DigraphScore(fAll, set.profile, set.kept);
    }
    const double cut = set.cut.At(fAll.digraphs);
    if (!Strays(cmp.fails, score, set, cut))
        return TCheckResult::Passed;
    verdict.test = TSuspectTest::Digraph;
    verdict.code = QStringLiteral("digraph");
    verdict.set = set.name;
    verdict.score = score;
    verdict.cut = cut;
    verdict.fail_fraction = cmp.fail_fraction;
    verdict.too_many = cmp.too_many;
    verdict.too_few = cmp.too_few;
    verdict.reason = DigraphReason(cmp.too_many, cmp.too_few);
    FailingPairs(fSample, set.profile, settings.freq_variation_per_mille, kExplainedPairs,
                 verdict.too_many_pairs, verdict.too_few_pairs);
    return TCheckResult::Suspect;
}

} // namespace engine
