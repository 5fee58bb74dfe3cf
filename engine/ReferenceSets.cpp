// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSets.h"

namespace engine {

double TScoreCut::At(int64_t digraphs) const {
    if (points.empty())
        return -1.0;
    for (const auto &[n, cut] : points)
        if (digraphs <= n)
            return cut;
    return points.back().second;
}

TReferenceSet MakeReferenceSet(const QString &name, TDigraphProfile profile) {
    TReferenceSet set;
    set.name = name;
    set.profile = std::move(profile);
    return set;
}

int64_t MinDigraphsToJudge(int32_t, int32_t) {
    return 0;
}

} // namespace engine
