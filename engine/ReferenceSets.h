// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several named reference sets (one per language, say) for the extended
// digraph check: each file is judged against the closest set, and scored by
// its divergence from it (DigraphScore.h), against a cut calibrated from the
// set itself.

#include "DigraphProfile.h"
#include "FileCheck.h"

#include <QChar>

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace engine {

// The score above which a text of a given number of digraphs strays from a
// set, as points (digraphs, cut) ascending in digraphs. Calibrating takes a
// while, so the points are made beside the run's first files by a thread
// pool shared by every set, once for all copies; asking for them waits
// until they are made (or makes them, when no worker has begun). A set
// whose saved profile holds its cut starts with the points.
class TScoreCut {
public:
    using TPoints = std::vector<std::pair<int64_t, double>>;
    // Makes the points; may stop early once its argument is set (the cut
    // is gone, and nobody will read them).
    using TMake = std::function<TPoints(const std::atomic<bool> &)>;
    TScoreCut() = default; // no points
    explicit TScoreCut(TMake make);
    // Points made already (a stored cut): no work at all.
    static TScoreCut Made(TPoints points);
    const TPoints &Points() const;
    // The cut for a text of `digraphs`: between two points on the straight
    // line through them in log-log terms (a chance divergence falls roughly
    // as one over the length); beyond the ends, the end's cut. -1 when
    // there are no points.
    double At(int64_t digraphs) const;
    // The fewest digraphs the points were calibrated for; a shorter text's
    // cut is only the shortest one's, an underestimate. 0 without points.
    int64_t Shortest() const;

    struct TLazy; // shared by the copies and the pool's queue

private:
    std::shared_ptr<TLazy> fLazy;
};

struct TReferenceSet {
    QString name;
    TDigraphProfile profile;
    int64_t kept = 0; // KeptCount(profile)
    TScoreCut cut;
    // A shipped language set: a kind of text of its own (SeparateSets).
    bool language = false;
    // The scripts its letters are in (HeldScripts).
    std::vector<QChar::Script> scripts;
    // The sets of the run of another kind, each with its score against
    // this one, nearest first (SeparateSets).
    struct TOther {
        double score;
        QString name;
    };
    std::vector<TOther> others;
    // The nearest set of another kind; null when the run has none.
    const TOther *NearestOtherKind() const { return others.empty() ? nullptr : &others.front(); }
};

// A set with its cut calibrated from its own profile: no labels needed, and
// the same for a set read from texts or from its saved profile.
// Deterministic; calibrated once per set, queued here for the shared pool,
// and waited for by the first file that needs the cut (well under a second
// for a set of a few MB of text). With `stored`, the cut saved with the
// profile (CalibrateCut of that very profile), nothing is calibrated.
TReferenceSet MakeReferenceSet(const QString &name, TDigraphProfile profile,
                               TScoreCut::TPoints stored = {});

// The cut's points for a set of `profile`, calibrated here and now: what a
// saved profile stores. Empty for an empty profile.
TScoreCut::TPoints CalibrateCut(const TDigraphProfile &profile);

// Fills each set's `others` from the sets of the run of another kind:
// called once the run's sets are all made.
//
// Each shipped language is a kind of its own. Any other set (the user's
// texts or profiles) is of a language's kind when it lies in that
// language's half of the way to the nearest other language (its score
// against the language under half of that language's nearest other): the
// closest-set choice would give that language's texts to it as readily, so
// its distance from the language tells of topic and style, never of a text
// of another kind. A set near no language is a kind of its own, as the
// user named it apart.
void SeparateSets(TReferenceSets &sets);
// The kind of each set, as SeparateSets sees it: equal numbers for one kind.
std::vector<int> SetKinds(const TReferenceSets &sets);

// The set `text` (all its pairs) is closest to, by DigraphScore, and that
// score; the first of equals. Null when `sets` is empty.

// The set `text` (all its pairs) is closest to, by DigraphScore, and that
// score; the first of equals. Null when `sets` is empty.
const TReferenceSet *ClosestSet(const TDigraphProfile &text, const TReferenceSets &sets,
                                double &score);

// The fewest digraphs whose frequencies the comparison can judge with these
// tolerances; fewer give "too short to judge". 667 for the defaults (15 per
// mille, 10 percent).
int64_t MinDigraphsToJudge(int32_t freqVariationPerMille, int32_t percentFailAllowed);

} // namespace engine
