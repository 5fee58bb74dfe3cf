// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextMeasure.h"

#include "Sse2.h"

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
        fBreakUnits += CountBreaks<Lanes>(reinterpret_cast<const typename Lanes::Unit *>(p), J);
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
