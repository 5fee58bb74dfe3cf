#include "TextMeasure.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
            ++fCR;
        else if (c == u'\n') {
            ++fLF;
            if (last == u'\r')
                ++fCRLF;
        }
        last = c;
    }
    fUnits += static_cast<int64_t>(i);
    fLast = last;
    return i;
}

size_t TextMeasure::Feed(const char16_t *p, size_t n) {
    if (fEnded)
        return 0;
    return FeedScalar(p, n);
}

size_t TextMeasure::Feed(const uint8_t *p, size_t n) {
    if (fEnded || n == 0)
        return 0;
    // The text ends at the first NUL; count only what comes before it.
    const void *nul = std::memchr(p, 0, n);
    const size_t m = nul ? static_cast<size_t>(static_cast<const uint8_t *>(nul) - p) : n;
    size_t i = 0;
#if defined(__SSE2__)
    // Vector part: CRs at [0, J), LFs at [1, J] and the CR LF pairs between
    // them, in 16-byte steps with byte counters folded before they can wrap.
    // Position 0 (whose pair reaches back into the previous block) and
    // position J are finished by hand, the rest by the scalar tail.
    if (m >= 33) {
        const size_t J = ((m - 1) / 16) * 16 - 16;
        const __m128i cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
        const __m128i zero = _mm_setzero_si128();
        auto fold = [&](__m128i a) {
            const __m128i s = _mm_sad_epu8(a, zero);
            return int64_t(_mm_cvtsi128_si32(s)) + int64_t(_mm_extract_epi16(s, 4));
        };
        size_t j = 0;
        while (j < J) {
            __m128i acr = zero, alf = zero, apr = zero;
            const size_t stop = J - j > 255 * 16 ? j + 255 * 16 : J;
            for (; j < stop; j += 16) {
                const __m128i v0 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + j));
                const __m128i v1 = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + j + 1));
                const __m128i isCr = _mm_cmpeq_epi8(v0, cr);
                const __m128i isLf = _mm_cmpeq_epi8(v1, lf);
                acr = _mm_sub_epi8(acr, isCr);
                alf = _mm_sub_epi8(alf, isLf);
                apr = _mm_sub_epi8(apr, _mm_and_si128(isCr, isLf));
            }
            fCR += fold(acr);
            fLF += fold(alf);
            fCRLF += fold(apr);
        }
        if (p[0] == '\n') {
            ++fLF;
            if (fLast == u'\r')
                ++fCRLF;
        }
        if (p[J] == '\r')
            ++fCR;
        fUnits += static_cast<int64_t>(J + 1);
        fLast = p[J];
        i = J + 1;
    }
#endif
    FeedScalar(p + i, m - i);
    if (nul)
        fEnded = true;
    return m;
}

} // namespace engine
