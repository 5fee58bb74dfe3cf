// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextMeasure.h"

#include "Simd.h"

#include <cstring>
#include <type_traits>

namespace engine {

int64_t TextMeasure::Length() const {
    if (fUnits == 0)
        return 0;
    const bool ends_in_break = fLast == u'\r' || fLast == u'\n';
    return LengthSoFar() + (ends_in_break ? 0 : 2);
}

template <class U> size_t TextMeasure::FeedScalar(const U *p, size_t n) {
    size_t i = 0;
    char16_t last = fLast;
    for (; i < n; ++i) {
        const char16_t c = p[i];
        if (c == 0) {
            fEnded = true;
            break;
        }
        if (c == u'\r')
            ++fBreakUnits;
        else if (c == u'\n')
            fBreakUnits += last == u'\r' ? -1 : 1;
        last = c;
    }
    fUnits += static_cast<int64_t>(i);
    fLast = last;
    return i;
}

namespace {

#ifdef BRINDLE_SSE2
// SSE2 lanes for 8-bit and 16-bit units: compare, count, and fold the
// per-lane counters into 64-bit totals before they can wrap.
struct ByteLanes {
    using Unit = uint8_t;
    static constexpr size_t kPerVector = 16;
    static constexpr size_t kFoldEvery = 255;
    static __m128i Set(char c) { return _mm_set1_epi8(c); }
    static __m128i Eq(__m128i a, __m128i b) { return _mm_cmpeq_epi8(a, b); }
    static __m128i Sub(__m128i a, __m128i b) { return _mm_sub_epi8(a, b); }
    static int64_t Fold(__m128i a) {
        const __m128i s = _mm_sad_epu8(a, _mm_setzero_si128());
        return int64_t(_mm_cvtsi128_si32(s)) + int64_t(_mm_extract_epi16(s, 4));
    }
};
struct WordLanes {
    using Unit = char16_t;
    static constexpr size_t kPerVector = 8;
    static constexpr size_t kFoldEvery = 4096;
    static __m128i Set(char c) { return _mm_set1_epi16(c); }
    static __m128i Eq(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
    static __m128i Sub(__m128i a, __m128i b) { return _mm_sub_epi16(a, b); }
    static int64_t Fold(__m128i a) {
        const __m128i s = _mm_madd_epi16(a, _mm_set1_epi16(1));
        alignas(16) int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(lanes), s);
        return int64_t(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
    }
};

// What the CRs at [0, J) and the LFs at [1, J] add to the length, for J a
// multiple of the vector width with J < m: CRs + LFs - 2 * (CR LF pairs),
// which is the number of positions j with a CR at j or an LF at j + 1 but
// not both.
template <class L> int64_t CountBreaks(const typename L::Unit *p, size_t J) {
    const __m128i vcr = L::Set('\r'), vlf = L::Set('\n');
    // -1 in each lane whose position has a CR or a following LF, not both.
    const auto lone = [&](size_t j) {
        const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + j));
        const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + j + 1));
        return _mm_xor_si128(L::Eq(v0, vcr), L::Eq(v1, vlf));
    };
    constexpr size_t W = L::kPerVector;
    int64_t added = 0;
    size_t j = 0;
    while (j < J) {
        __m128i acc = _mm_setzero_si128();
        const size_t stop = J - j > L::kFoldEvery * W ? j + L::kFoldEvery * W : J;
        for (; j + 2 * W <= stop; j += 2 * W)
            acc = L::Sub(L::Sub(acc, lone(j)), lone(j + W));
        if (j < stop) {
            acc = L::Sub(acc, lone(j));
            j += W;
        }
        added += L::Fold(acc);
    }
    return added;
}
#endif

#ifdef BRINDLE_AVX2
// CountBreaks in 32-byte vectors. The helpers are AVX2 code themselves, so
// that they fold into the loop.
#define BRINDLE_AVX2_CODE [[gnu::target("avx2"), gnu::always_inline]] inline

// -1 in each lane of position j whose unit is a CR or whose next is an LF,
// not both.
template <class U> BRINDLE_AVX2_CODE __m256i LoneBreaks32(const U *p, size_t j) {
    const __m256i v0 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + j));
    const __m256i v1 = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(p + j + 1));
    if constexpr (sizeof(U) == 1)
        return _mm256_xor_si256(_mm256_cmpeq_epi8(v0, _mm256_set1_epi8('\r')),
                                _mm256_cmpeq_epi8(v1, _mm256_set1_epi8('\n')));
    else
        return _mm256_xor_si256(_mm256_cmpeq_epi16(v0, _mm256_set1_epi16('\r')),
                                _mm256_cmpeq_epi16(v1, _mm256_set1_epi16('\n')));
}

template <class U> BRINDLE_AVX2_CODE __m256i Minus32(__m256i a, __m256i b) {
    return sizeof(U) == 1 ? _mm256_sub_epi8(a, b) : _mm256_sub_epi16(a, b);
}

// What the lanes of `acc` add up to.
template <class U> BRINDLE_AVX2_CODE int64_t Fold32(__m256i acc) {
    __m256i sums;
    if constexpr (sizeof(U) == 1) {
        sums = _mm256_sad_epu8(acc, _mm256_setzero_si256());
    } else {
        // Eight 32-bit sums, widened to four 64-bit ones.
        const __m256i pairs = _mm256_madd_epi16(acc, _mm256_set1_epi16(1));
        sums = _mm256_add_epi64(_mm256_cvtepi32_epi64(_mm256_castsi256_si128(pairs)),
                                _mm256_cvtepi32_epi64(_mm256_extracti128_si256(pairs, 1)));
    }
    alignas(32) int64_t q[4];
    _mm256_store_si256(reinterpret_cast<__m256i *>(q), sums);
    return q[0] + q[1] + q[2] + q[3];
}

// As CountBreaks, for J a multiple of 32 bytes.
template <class U> [[gnu::target("avx2")]] int64_t CountBreaksAvx2(const U *p, size_t J) {
    constexpr size_t W = 32 / sizeof(U);
    // A byte lane can count 255 before it wraps, a 16-bit one far more.
    constexpr size_t kFoldEvery = sizeof(U) == 1 ? 255 : 4096;
    int64_t added = 0;
    for (size_t j = 0; j < J;) {
        __m256i acc = _mm256_setzero_si256();
        const size_t stop = J - j > kFoldEvery * W ? j + kFoldEvery * W : J;
        for (; j + 2 * W <= stop; j += 2 * W)
            acc = Minus32<U>(Minus32<U>(acc, LoneBreaks32(p, j)), LoneBreaks32(p, j + W));
        if (j < stop) {
            acc = Minus32<U>(acc, LoneBreaks32(p, j));
            j += W;
        }
        added += Fold32<U>(acc);
    }
    return added;
}
#undef BRINDLE_AVX2_CODE
#endif

// Index of the first zero unit, or n.
size_t FindNul(const uint8_t *p, size_t n) {
    const void *nul = std::memchr(p, 0, n);
    return nul ? size_t(static_cast<const uint8_t *>(nul) - p) : n;
}

size_t FindNul(const char16_t *p, size_t n) {
    size_t i = 0;
#ifdef BRINDLE_SSE2
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(v, zero));
        if (mask)
            return i + size_t(__builtin_ctz(unsigned(mask)) / 2);
    }
#endif
    for (; i < n; ++i)
        if (p[i] == 0)
            return i;
    return n;
}

} // namespace

template <class U> size_t TextMeasure::FeedUnits(const U *p, size_t n) {
    if (fEnded || n == 0)
        return 0;
    // The text ends at the first NUL; count only what comes before it.
    const size_t m = FindNul(p, n);
    size_t i = 0;
#ifdef BRINDLE_SSE2
    using Lanes = std::conditional_t<sizeof(U) == 1, ByteLanes, WordLanes>;
    // The vector part covers CRs at [0, J), LFs at [1, J]; position 0 (whose
    // pair reaches back into the previous block) and position J are finished
    // by hand, the rest by the scalar tail.
    constexpr size_t W = Lanes::kPerVector;
    if (m >= 2 * W + 1) {
        const size_t J = ((m - 1) / W) * W - W;
        const auto *q = reinterpret_cast<const typename Lanes::Unit *>(p);
        size_t wide = 0;
#ifdef BRINDLE_AVX2
        if (UseAvx2()) {
            wide = J / (2 * W) * (2 * W);
            fBreakUnits += CountBreaksAvx2(q, wide);
        }
#endif
        fBreakUnits += CountBreaks<Lanes>(q + wide, J - wide);
        if (p[0] == '\n')
            fBreakUnits += fLast == u'\r' ? -1 : 1;
        if (p[J] == '\r')
            ++fBreakUnits;
        fUnits += static_cast<int64_t>(J + 1);
        fLast = p[J];
        i = J + 1;
    }
#endif
    FeedScalar(p + i, m - i);
    if (m < n)
        fEnded = true;
    return m;
}

template <class U> size_t TextMeasure::FeedEnd(const U *p, size_t n) {
    if (fEnded || n == 0)
        return 0;
    const size_t m = FindNul(p, n);
    fUnits += static_cast<int64_t>(m);
    if (m > 0)
        fLast = p[m - 1];
    fEnded = m < n;
    return m;
}

size_t TextMeasure::FeedWithoutBreaks(const uint8_t *p, size_t n) {
    return FeedEnd(p, n);
}
size_t TextMeasure::FeedWithoutBreaks(const char16_t *p, size_t n) {
    return FeedEnd(p, n);
}

void TextMeasure::AddBreaks(int64_t cr, int64_t lf, int64_t crlf) {
    fBreakUnits += cr + lf - 2 * crlf;
}

size_t TextMeasure::Feed(const uint8_t *p, size_t n) {
    return FeedUnits(p, n);
}
size_t TextMeasure::Feed(const char16_t *p, size_t n) {
    return FeedUnits(p, n);
}

} // namespace engine
