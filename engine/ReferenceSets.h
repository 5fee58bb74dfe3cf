// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Several named reference sets (one per language, say) for the extended
// digraph check: each file is judged against the closest set, and scored by
// its divergence from it, against a cut calibrated from the set itself.

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
    double At(int64_t digraphs) const;
};

struct TReferenceSet {
    QString name;
    TDigraphProfile profile;
    TScoreCut cut;
};

// A set with its cut calibrated from its own profile: no labels needed.
TReferenceSet MakeReferenceSet(const QString &name, TDigraphProfile profile);

// The fewest digraphs whose frequencies the comparison can judge with these
// tolerances; fewer give "too short to judge".
int64_t MinDigraphsToJudge(int32_t freqVariationPerMille, int32_t percentFailAllowed);

} // namespace engine
