// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several named reference sets (one per language, say) for the extended
// digraph check: each file is judged against the closest set, and scored by
// its divergence from it (DigraphScore.h), against a cut calibrated from the
// set itself.

#include "DigraphProfile.h"
#include "FileCheck.h"

#include <QString>
#include <cstdint>
#include <utility>
#include <vector>

namespace engine {

// The score above which a text of a given number of digraphs strays from a
// set, as points (digraphs, cut) ascending in digraphs.
struct TScoreCut {
    std::vector<std::pair<int64_t, double>> points;
    // The cut for a text of `digraphs`: between two points on the straight
    // line through them in log-log terms (a chance divergence falls roughly
    // as one over the length); beyond the ends, the end's cut. -1 when
    // there are no points.
    double At(int64_t digraphs) const;
};

struct TReferenceSet {
    QString name;
    TDigraphProfile profile;
    int64_t kept = 0; // KeptCount(profile)
    TScoreCut cut;
};

// A set with its cut calibrated from its own profile: no labels needed, and
// the same for a set read from texts or from its saved profile. Deterministic;
// done once per set when a run starts (well under a second for a set of a
// few MB of text).
TReferenceSet MakeReferenceSet(const QString &name, TDigraphProfile profile);

// The set `text` (all its pairs) is closest to, by DigraphScore, and that
// score; the first of equals. Null when `sets` is empty.
const TReferenceSet *ClosestSet(const TDigraphProfile &text, const TReferenceSets &sets,
                                double &score);

// The fewest digraphs whose frequencies the comparison can judge with these
// tolerances; fewer give "too short to judge". 667 for the defaults (15 per
// mille, 10 percent).
int64_t MinDigraphsToJudge(int32_t freqVariationPerMille, int32_t percentFailAllowed);

} // namespace engine
