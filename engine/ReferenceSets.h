// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several named reference sets (one per language, say) for the extended
// digraph check: each file is judged against the closest set, and scored by
// its divergence from it (DigraphScore.h), against a cut calibrated from the
// set itself.

#include "DigraphProfile.h"
#include "FileCheck.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace engine {

// The score above which a text of a given number of digraphs strays from a
// set, as points (digraphs, cut) ascending in digraphs. Calibrating takes a
// while, so the points are made by a thread of their own, started with the
// cut, once for all copies; asking for them waits until they are made.
class TScoreCut {
public:
    using TPoints = std::vector<std::pair<int64_t, double>>;
    // Makes the points; may stop early once its argument is set (the cut
    // is gone, and nobody will read them).
    using TMake = std::function<TPoints(const std::atomic<bool> &)>;
    TScoreCut() = default; // no points
    explicit TScoreCut(TMake make);
    const TPoints &Points() const;
    // The cut for a text of `digraphs`: between two points on the straight
    // line through them in log-log terms (a chance divergence falls roughly
    // as one over the length); beyond the ends, the end's cut. -1 when
    // there are no points.
    double At(int64_t digraphs) const;

private:
    struct TLazy {
        std::once_flag once;
        TMake make;
        TPoints points;
        std::atomic<bool> abandoned{false};
        std::thread worker;
        void Make();
        ~TLazy();
    };
    std::shared_ptr<TLazy> fLazy;
};

struct TReferenceSet {
    QString name;
    TDigraphProfile profile;
    int64_t kept = 0; // KeptCount(profile)
    TScoreCut cut;
    // A shipped language set: a kind of text of its own (SeparateSets).
    bool language = false;
    // The sets of the run of another kind, each with its score against
    // this one, nearest first (SeparateSets).
    struct TOther {
        double score;
        QString name;
    };
    std::vector<TOther> others;
    // The nearest set of another kind for a text whose chance divergence
    // from this set reaches `cut` (see SeparateSets); null when none is.
    const TOther *NearestOtherKind(double cut) const;
};

// A set with its cut calibrated from its own profile: no labels needed, and
// the same for a set read from texts or from its saved profile.
// Deterministic; calibrated once per set, on a thread started here, and
// waited for by the first file that needs the cut (well under a second for
// a set of a few MB of text).
TReferenceSet MakeReferenceSet(const QString &name, TDigraphProfile profile);

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
//
// And for a text judged against a set, a set of another kind counts only
// when it is further from that set than chance alone puts a good text of
// the text's length (NearestOtherKind, at the set's cut for that length):
// a text that short cannot be told from it by its letter pairs.
void SeparateSets(TReferenceSets &sets);
// The kind of each set, as SeparateSets sees it: equal numbers for one kind.
std::vector<int> SetKinds(const TReferenceSets &sets);

// The set `text` (all its pairs) is closest to, by DigraphScore, and that
// score; the first of equals. Null when `sets` is empty.

const TReferenceSet *ClosestSet(const TDigraphProfile &text, const TReferenceSets &sets,
                                double &score);

// The fewest digraphs whose frequencies the comparison can judge with these
// tolerances; fewer give "too short to judge". 667 for the defaults (15 per
// mille, 10 percent).
int64_t MinDigraphsToJudge(int32_t freqVariationPerMille, int32_t percentFailAllowed);

} // namespace engine
