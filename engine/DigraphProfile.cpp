// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphProfile.h"

#include "DigraphTree.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace engine {

TDigraphProfile MakeProfile(const TPairCounts &counts, int32_t minFreq) {
    TDigraphProfile profile;
    profile.digraphs = counts.Total();
    if (NeedsOrder(counts.Distinct())) {
        TDigraphTree tree(minFreq);
        for (uint32_t key : counts.Order())
            tree.AddDigraphCount(char16_t(key >> 16), char16_t(key & 0xFFFF), counts.CountOf(key));
        tree.MakeProfileList();
        const auto &list = *tree.sorted_results;
        profile.entries.reserve(size_t(list.Count()));
        for (int i = 0; i < list.Count(); ++i) {
            const QString &d = list.Strings(i);
            profile.entries.push_back(
                {DigraphKey(d.at(0).unicode(), d.at(1).unicode()), list.Objects(i)});
        }
        std::sort(profile.entries.begin(), profile.entries.end(),
                  [](const TProfileEntry &a, const TProfileEntry &b) { return a.key < b.key; });
        return profile;
    }
    for (uint32_t key : counts.Order()) {
        const int64_t c = counts.CountOf(key);
        if (c >= minFreq)
            profile.entries.push_back({key, c});
    }
    std::sort(profile.entries.begin(), profile.entries.end(),
              [](const TProfileEntry &a, const TProfileEntry &b) { return a.key < b.key; });
    return profile;
}

namespace {

bool ByKey(const TProfileEntry &a, const TProfileEntry &b) {
    return a.key < b.key;
}

template <class Counter>
bool TakeFrom(Counter &counter, int32_t minFreq, TDigraphProfile &profile, bool sorted) {
    profile.entries.clear();
    const TCountSummary sum = counter.Take(minFreq, profile.entries);
    if (NeedsOrder(sum.distinct)) {
        profile.entries.clear();
        return false;
    }
    profile.digraphs = sum.total;
    if (!sorted)
        std::sort(profile.entries.begin(), profile.entries.end(), ByKey);
    return true;
}

} // namespace

bool TakeProfile(TByteDigraphCounter &counter, int32_t minFreq, TDigraphProfile &profile) {
    return TakeFrom(counter, minFreq, profile, true);
}

bool TakeProfile(TWideDigraphCounter &counter, int32_t minFreq, TDigraphProfile &profile) {
    return TakeFrom(counter, minFreq, profile, false);
}

namespace {

void AppendDigraph(QString &s, uint32_t key) {
    s.append(QChar(char16_t(key >> 16)));
    s.append(QChar(char16_t(key & 0xFFFF)));
}

} // namespace

QString FormatFrequency(float value, QChar decimalSeparator) {
    // Exact decimal expansion first (a float of this size has far fewer than
    // 60 decimals), then round half up on the third decimal.
    char digits[96];
    std::snprintf(digits, sizeof digits, "%.60f", static_cast<double>(std::fabs(value)));
    const char *dot = std::strchr(digits, '.');
    long long whole = std::atoll(digits);
    int hundredths = (dot[1] - '0') * 10 + (dot[2] - '0');
    if (dot[3] >= '5')
        ++hundredths;
    if (hundredths == 100) {
        hundredths = 0;
        ++whole;
    }
    char out[64];
    std::snprintf(out, sizeof out, "%s%lld%c%02d", value < 0 ? "-" : "", whole, '.', hundredths);
    QString s = QString::fromLatin1(out);
    s.replace(QLatin1Char('.'), decimalSeparator);
    return s;
}

namespace {

using TEntryIt = std::vector<TProfileEntry>::const_iterator;

// Both lists ascend, so a key is at or after the last one found: walking
// both once costs less than searching, as they are close in size (a file's
// few hundred digraphs, the reference's). True when `other` stops at `key`.
bool Seek(TEntryIt &other, TEntryIt end, uint32_t key) {
    while (other != end && other->key < key)
        ++other;
    return other != end && other->key == key;
}

// How many of W's entries fail against O, when only the number is wanted
// and both totals fit a float exactly. Then every count from 1 to its total
// does too, and its relative frequency lies in [2^-24, 1]: SingleQuotient
// and FrequenciesDiffer would take their narrow forms, written out here so
// that the loop tests nothing else. Other counts go the general way.
int32_t CountNarrowFailures(const TDigraphProfile &W, const TDigraphProfile &O, float tolerance) {
    const float wTotal = float(W.digraphs), oTotal = float(O.digraphs);
    int32_t failures = 0;
    auto other = O.entries.begin();
    for (const TProfileEntry &e : W.entries) {
        if (!Seek(other, O.entries.end(), e.key)) {
            ++failures;
        } else if (e.count < 1 || e.count > W.digraphs || other->count < 1 ||
                   other->count > O.digraphs) {
            failures += FrequenciesDiffer(SingleQuotient(e.count, W.digraphs),
                                          SingleQuotient(other->count, O.digraphs), tolerance);
        } else {
            const float rW = float(e.count) / wTotal, rO = float(other->count) / oTotal;
            failures += std::fabs(double(rW) - double(rO)) > double(tolerance);
        }
    }
    return failures;
}

// Walks W's entries, looking each up in O; returns how many fail, and puts
// their texts in `texts` when given.
int32_t CountFailures(const TDigraphProfile &W, const TDigraphProfile &O, float tolerance,
                      QChar decimalSeparator, TDigraphComparison *texts) {
    constexpr int64_t kFloatExact = int64_t(1) << 24;
    if (!texts && W.digraphs <= kFloatExact && O.digraphs <= kFloatExact)
        return CountNarrowFailures(W, O, tolerance);
    int32_t failures = 0;
    auto other = O.entries.begin();
    for (const TProfileEntry &e : W.entries) {
        const float rW = SingleQuotient(e.count, W.digraphs);
        if (!Seek(other, O.entries.end(), e.key)) {
            ++failures;
            if (texts) {
                texts->too_many.append(QLatin1Char(' '));
                AppendDigraph(texts->too_many, e.key);
            }
            continue;
        }
        const float rO = SingleQuotient(other->count, O.digraphs);
        if (FrequenciesDiffer(rW, rO, tolerance)) {
            ++failures;
            if (texts) {
                QString &target = rW > rO ? texts->too_many : texts->too_few;
                target.append(QLatin1Char('('));
                target.append(FormatFrequency(rW, decimalSeparator));
                target.append(QLatin1String(") "));
                AppendDigraph(target, e.key);
            }
        }
    }
    return failures;
}

} // namespace

TDigraphComparison CompareProfiles(const TDigraphProfile &sample, const TDigraphProfile &ref,
                                   int32_t freqVariationPerMille, int32_t percentFailAllowed,
                                   QChar decimalSeparator, bool textsOnlyWhenFailing) {
    TDigraphComparison result;
    // The larger profile is looked up in; equal totals walk the reference.
    const bool walkSample = ref.digraphs > sample.digraphs;
    const TDigraphProfile &W = walkSample ? sample : ref;
    const TDigraphProfile &O = walkSample ? ref : sample;
    const float tolerance =
        static_cast<float>(static_cast<long double>(freqVariationPerMille) / 1000.0L);
    if (!sample.entries.empty()) {
        result.failures = CountFailures(W, O, tolerance, decimalSeparator,
                                        textsOnlyWhenFailing ? nullptr : &result);
        result.fail_fraction = SingleQuotient(result.failures, int64_t(sample.entries.size()));
    }
    const long double allowance = static_cast<long double>(percentFailAllowed) / 100.0L;
    result.fails = allowance < static_cast<long double>(result.fail_fraction);
    if (result.fails && textsOnlyWhenFailing)
        CountFailures(W, O, tolerance, decimalSeparator, &result);
    return result;
}

} // namespace engine
