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
#include "Scripts.h"

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
// The score alone is enough where the run has a set of another kind to
// measure it by (SeparateSets): a text further from its closest set than
// the nearest set of another kind is from it (another language, when the
// sets are languages) is no text of that set's kind, whatever its topic;
// still only above the cut, so that chance in a short text is never taken
// for it. Letters shuffled within their words keep most pair frequencies
// within the tolerance and are caught this way. Sets of one kind (two
// English sets) never count: the distance between them is no measure of
// what a text of that kind may be.
const TReferenceSet::TOther *FurtherThanOtherKind(double score, const TReferenceSet &set,
                                                  double cut) {
    const TReferenceSet::TOther *other = set.NearestOtherKind();
    return other && score > other->score && score > cut ? other : nullptr;
}

// Figures in reasons: two decimals, as the window shows them too, and as
// many more as tell a score from a cut that rounds to the same.
QString Figure(double value, double other) {
    for (int decimals = 2; decimals < 6; ++decimals) {
        const QString a = QString::number(value, 'f', decimals);
        if (a != QString::number(other, 'f', decimals))
            return a;
    }
    return QString::number(value, 'f', 6);
}

// Why the score rule lists a file, in words.
QString ScoreReason(double score, double cut, const TReferenceSet &set) {
    QString reason = QStringLiteral("Letter pairs: score %1 over the cut %2 of set \"%3\"")
                         .arg(Figure(score, cut), Figure(cut, score), set.name);
    if (const TReferenceSet::TOther *other = FurtherThanOtherKind(score, set, cut))
        reason += QStringLiteral(", and further from it than set \"%1\" is (%2)")
                      .arg(other->name, Figure(other->score, score));
    return reason;
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
    const std::optional<TDamage> damage = JudgeDamage(fFile, m, features);
    fFile.CheckUnchanged();

    verdict = TVerdict{};
    verdict.file_size = m.size;
    verdict.text_length = m.length;
    verdict.extended.emplace();
    TExtendedDetail &detail = *verdict.extended;
    detail.damage = damage;
    // The size test keeps its word: its verdict stands, and damage found in
    // the same file is added beside it.
    if (FailsSizeTest(m)) {
        verdict.test = TSuspectTest::Size;
        verdict.reason = SizeReason(m.size, m.length);
        return TCheckResult::Suspect;
    }
    // Damage names the file unless the comparison lists it too: then the
    // comparison's verdict stands, as the size test's does, with the damage
    // beside it.
    const auto damaged = [&] {
        verdict.test = TSuspectTest::Damage;
        verdict.reason = damage->reason;
        return TCheckResult::Suspect;
    };
    if (!judge)
        return damage ? damaged() : TCheckResult::Passed;
    MyYieldProcess();

    // Letter pairs are judged on the text as it was meant: 8-bit bytes that
    // are valid UTF-8 with any non-ASCII among them are UTF-8 without a mark.
    const bool asUtf8 = m.kind == TTextKind::Ansi && features.validUtf8 && features.nonAscii > 0;
    TakeProfiles(m, asUtf8, settings.min_digraphs);
    detail.digraphs = fAll.digraphs;
    const int64_t needed =
        MinDigraphsToJudge(settings.freq_variation_per_mille, settings.percent_fail_allowed);
    const TReferenceSets &sets = *settings.sets;
    // Letters mostly in a script no set holds are not judged: most of their
    // pairs are pairs no set has counted.
    if (fHeldFor != &sets) {
        fHeld.clear();
        for (const TReferenceSet &s : sets)
            fHeld.insert(fHeld.end(), s.scripts.begin(), s.scripts.end());
        fHeldFor = &sets;
    }
    if (const std::optional<QChar::Script> script = UnheldScript(fAll, fHeld)) {
        if (damage)
            return damaged();
        verdict.reason = QStringLiteral("Letters mostly %1: no reference set holds this script")
                             .arg(ScriptName(*script));
        return TCheckResult::NotJudged;
    }
    const bool tooShort = fAll.digraphs < needed;
    double score = 1.0;
    const TReferenceSet &set = sets.size() == 1 ? sets.front() : *ClosestSet(fAll, sets, score);
    // With one set there is nothing to choose from, and a file the
    // comparison passes passes: its score and the set's cut are not needed.
    TDigraphComparison cmp;
    if (!tooShort) {
        cmp = CompareProfiles(fSample, set.profile, settings.freq_variation_per_mille,
                              settings.percent_fail_allowed, settings.decimal_separator, true);
        if (sets.size() == 1 && !cmp.fails)
            return damage ? damaged() : TCheckResult::Passed;
    }
    if (sets.size() == 1)
        score = DigraphScore(fAll, set.profile, set.kept);
    const double cut = set.cut.At(fAll.digraphs);
    // Too few pairs for the comparison's frequencies, but the cut is
    // calibrated for texts that short too: a text further from its closest
    // set than chance puts a good text of its length is listed even so.
    // (Only a long text strays past the cut by topic and style alone.) Not
    // below the shortest length calibrated, where the cut would be too low.
    const bool compared = cmp.fails && (cut < 0.0 || score > cut);
    const bool calibrated = fAll.digraphs >= set.cut.Shortest();
    const bool beyondChance = tooShort && cut >= 0.0 && score > cut;
    if (damage && !compared)
        return damaged();
    if ((tooShort && !calibrated) ||
        (!compared && !beyondChance && !FurtherThanOtherKind(score, set, cut))) {
        if (tooShort) {
            verdict.reason = TooShortReason(fAll.digraphs, needed);
            return TCheckResult::TooShort;
        }
        return TCheckResult::Passed;
    }
    verdict.test = TSuspectTest::Digraph;
    detail.set = set.name;
    detail.score = score;
    detail.cut = cut;
    if (const TReferenceSet::TOther *other = FurtherThanOtherKind(score, set, cut)) {
        detail.nearer_set = other->name;
        detail.nearer_score = other->score;
    }
    verdict.fail_fraction = cmp.fail_fraction;
    verdict.too_many = cmp.too_many;
    verdict.too_few = cmp.too_few;
    // Every listed file says why: the comparison's pairs when it failed and
    // names any, else the score against the cut.
    verdict.reason = compared ? DigraphReason(cmp.too_many, cmp.too_few) : QString();
    if (verdict.reason.isEmpty())
        verdict.reason = ScoreReason(score, cut, set);
    FailingPairs(fSample, set.profile, settings.freq_variation_per_mille, kExplainedPairs,
                 detail.too_many_pairs, detail.too_few_pairs);
    return TCheckResult::Suspect;
}

} // namespace engine
