// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphScore.h"

#include <algorithm>
#include <cmath>

namespace engine {

namespace {

// Twice the Jensen-Shannon term of one outcome with probabilities p and q:
// p log2(2p / (p + q)) + q log2(2q / (p + q)), where 0 log 0 is 0.
double Term(double p, double q) {
    const double m = p + q;
    double t = 0.0;
    if (p > 0.0)
        t += p * std::log2(2.0 * p / m);
    if (q > 0.0)
        t += q * std::log2(2.0 * q / m);
    return t;
}

} // namespace

int64_t KeptCount(const TDigraphProfile &profile) {
    int64_t kept = 0;
    for (const TProfileEntry &e : profile.entries)
        kept += e.count;
    return kept;
}

double DigraphScore(const TDigraphProfile &text, const TDigraphProfile &set, int64_t setKept) {
    if (text.digraphs <= 0 || set.digraphs <= 0)
        return 1.0;
    const double n = double(text.digraphs), total = double(set.digraphs);
    // A set pair the text lacks adds q (its own half of the term, doubled);
    // so all set pairs are counted as absent first, and each one the text
    // has takes its q back.
    double sum = double(setKept) / total;
    double textRest = 0.0;
    int64_t textKept = 0;
    auto s = set.entries.begin();
    const auto sEnd = set.entries.end();
    for (const TProfileEntry &e : text.entries) {
        while (s != sEnd && s->key < e.key)
            ++s;
        const double p = double(e.count) / n;
        textKept += e.count;
        if (s != sEnd && s->key == e.key) {
            const double q = double(s->count) / total;
            sum += Term(p, q) - q;
        } else {
            textRest += p;
        }
    }
    // A text profile that left pairs out puts them with the rest too.
    textRest += double(std::max<int64_t>(0, text.digraphs - textKept)) / n;
    sum += Term(textRest, double(set.digraphs - setKept) / total);
    return std::clamp(sum / 2.0, 0.0, 1.0);
}

} // namespace engine
