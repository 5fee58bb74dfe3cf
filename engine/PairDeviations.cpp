// SPDX-License-Identifier: GPL-3.0-or-later
#include "PairDeviations.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

QString PairText(uint32_t key) {
    const QChar pair[2] = {QChar(char16_t(key >> 16)), QChar(char16_t(key & 0xFFFF))};
    return QString(pair, 2);
}

void KeepMost(std::vector<TPairDeviation> &pairs, size_t most) {
    const auto further = [](const TPairDeviation &a, const TPairDeviation &b) {
        const float da = std::fabs(a.file - a.reference), db = std::fabs(b.file - b.reference);
        return da != db ? da > db : a.pair < b.pair;
    };
    std::sort(pairs.begin(), pairs.end(), further);
    if (pairs.size() > most)
        pairs.resize(most);
}

} // namespace

void FailingPairs(const TDigraphProfile &sample, const TDigraphProfile &ref,
                  int32_t freqVariationPerMille, size_t most, std::vector<TPairDeviation> &tooMany,
                  std::vector<TPairDeviation> &tooFew) {
    tooMany.clear();
    tooFew.clear();
    if (sample.entries.empty())
        return;
    // The walk of CompareProfiles: the smaller total is walked and looked up
    // in the other; equal totals walk the reference.
    const bool walkSample = ref.digraphs > sample.digraphs;
    const TDigraphProfile &W = walkSample ? sample : ref;
    const TDigraphProfile &O = walkSample ? ref : sample;
    const float tolerance =
        static_cast<float>(static_cast<long double>(freqVariationPerMille) / 1000.0L);
    auto other = O.entries.begin();
    for (const TProfileEntry &e : W.entries) {
        while (other != O.entries.end() && other->key < e.key)
            ++other;
        const bool found = other != O.entries.end() && other->key == e.key;
        const float rW = SingleQuotient(e.count, W.digraphs);
        const float rO = found ? SingleQuotient(other->count, O.digraphs) : 0.0f;
        if (found && !FrequenciesDiffer(rW, rO, tolerance))
            continue;
        TPairDeviation d{PairText(e.key), walkSample ? rW : rO, walkSample ? rO : rW};
        (d.file > d.reference ? tooMany : tooFew).push_back(std::move(d));
    }
    KeepMost(tooMany, most);
    KeepMost(tooFew, most);
}

} // namespace engine
