// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Digraph profiles and their comparison.
//
// A profile is the list of digraphs counted at least `min_freq` times, in
// code-unit order, with the total of all occurrences counted (also those of
// digraphs left out of the list). A digraph's relative frequency is its count
// over that total.
//
// The arithmetic is the detector's own and must not be "improved": relative
// frequencies, the tolerance and the fail fraction are quotients rounded to
// single precision; differences and the allowance are computed wider and
// compared with those single-precision values as they are.

#include "DigraphCounter.h"

#include <QChar>
#include <QString>
#include <cmath>
#include <cstdint>
#include <vector>

namespace engine {

struct TDigraphProfile {
    std::vector<TProfileEntry> entries; // ascending key
    int64_t digraphs = 0;
};

// The profile of `counts`. With 2048 or more distinct digraphs the counts are
// replayed into a digraph tree in order of first occurrence, so a lopsided
// tree raises ETreeError exactly where counting one by one would.
// Precondition: counts.OrderKnown() when counts.Distinct() >= 2048.
TDigraphProfile MakeProfile(const TPairCounts &counts, int32_t minFreq);

// Whether MakeProfile needs the order of first occurrence for these counts.
inline bool NeedsOrder(size_t distinct) {
    return distinct >= 2048;
}

// The profile of the text just counted in a fast counter, read straight off
// its table, which starts afresh; the same as MakeProfile of its counts.
// False, with nothing made, when the text has so many distinct digraphs that
// the order of first occurrence is needed: count it again in order then.
bool TakeProfile(TByteDigraphCounter &counter, int32_t minFreq, TDigraphProfile &profile);
bool TakeProfile(TWideDigraphCounter &counter, int32_t minFreq, TDigraphProfile &profile);

struct TDigraphComparison {
    bool fails = false;
    float fail_fraction = 0.0f;
    int32_t failures = 0;
    QString too_many; // "(0.05) TH" entries; " QX" for a digraph the other profile lacks
    QString too_few;
};

// Compares a file's profile with the reference profile. With
// `textsOnlyWhenFailing` the texts are left empty unless the file fails, as
// only a failing file shows them.
TDigraphComparison CompareProfiles(const TDigraphProfile &sample, const TDigraphProfile &ref,
                                   int32_t freqVariationPerMille, int32_t percentFailAllowed,
                                   QChar decimalSeparator, bool textsOnlyWhenFailing = false);

// a / b rounded to single precision, as the detector always computed it:
// through the 64-bit-mantissa quotient. Where both operands are exact in a
// narrower format, that format's division gives the same float, for less: a
// quotient rounded first to at least 2p + 2 bits and then to p bits equals
// the quotient rounded to p bits at once, and both the 53-bit and the 64-bit
// mantissa are that wide for a float's 24.
inline float SingleQuotient(int64_t a, int64_t b) {
    constexpr int64_t kFloatExact = int64_t(1) << 24;
    constexpr int64_t kDoubleExact = int64_t(1) << 53;
    if (a >= 0 && b > 0 && a <= kFloatExact && b <= kFloatExact)
        return static_cast<float>(a) / static_cast<float>(b);
    if (a >= 0 && b > 0 && a <= kDoubleExact && b <= kDoubleExact)
        return static_cast<float>(static_cast<double>(a) / static_cast<double>(b));
    return static_cast<float>(static_cast<long double>(a) / static_cast<long double>(b));
}

// |a - b| > tolerance, with the difference taken in the 64-bit mantissa, as
// the detector always did. Two floats in [2^-29, 1] differ by a double
// exactly, and exact values compare the same in either width, so the wide
// one is needed only for tiny frequencies.
inline bool FrequenciesDiffer(float a, float b, float tolerance) {
    constexpr float kNarrowEnough = 0x1p-29f;
    if (a >= kNarrowEnough && b >= kNarrowEnough && a <= 1.0f && b <= 1.0f)
        return std::fabs(double(a) - double(b)) > double(tolerance);
    return std::fabs(static_cast<long double>(a) - static_cast<long double>(b)) >
           static_cast<long double>(tolerance);
}

// A relative frequency as "%3.2f" with halves rounded up: 0.125 gives "0.13".
QString FormatFrequency(float value, QChar decimalSeparator);

} // namespace engine
