// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utf8Decoder.h"

#include "Utf8Lead.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine {

size_t Utf8Decoder::Decode(const uint8_t *in, size_t n, char16_t *out) {
    char16_t *o = out;
    size_t i = 0;
    while (i < n) {
        const uint8_t b = in[i];
        if (fNeeded == 0) {
            if (b < 0x80) {
                *o++ = b;
                ++i;
                // ASCII runs are the common case: widen 16 bytes at a time.
#if defined(__SSE2__)
                const __m128i zero = _mm_setzero_si128();
                // A vector that holds the end of the run is widened whole
                // too, and only its ASCII kept: `out` holds n + 1 units and
                // no byte gives more than one unit before a sequence of four
                // gives two, so the 16 units written stay within it.
                while (i + 16 <= n) {
                    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
                    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), _mm_unpacklo_epi8(v, zero));
                    _mm_storeu_si128(reinterpret_cast<__m128i *>(o + 8),
                                     _mm_unpackhi_epi8(v, zero));
                    if (const int high = _mm_movemask_epi8(v)) {
                        const int ascii = __builtin_ctz(unsigned(high));
                        o += ascii;
                        i += size_t(ascii);
                        break;
                    }
                    o += 16;
                    i += 16;
                }
#endif
                while (i < n && in[i] < 0x80)
                    *o++ = in[i++];
                continue;
            }
            // Whole two- and three-byte sequences within the block, the
            // commonest beyond ASCII, are decoded at once. Their second byte
            // may be any continuation byte (not so after E0 or ED).
            if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (in[i + 1] & 0xC0) == 0x80) {
                *o++ = char16_t(((b & 0x1F) << 6) | (in[i + 1] & 0x3F));
                i += 2;
                continue;
            }
            if (b >= 0xE1 && b <= 0xEF && b != 0xED && i + 2 < n && (in[i + 1] & 0xC0) == 0x80 &&
                (in[i + 2] & 0xC0) == 0x80) {
                *o++ =
                    char16_t(((b & 0x0F) << 12) | ((in[i + 1] & 0x3F) << 6) | (in[i + 2] & 0x3F));
                i += 3;
                continue;
            }
            ++i;
            const suite::TUtf8Lead lead = suite::Utf8Lead(b);
            if (lead.continuations == 0) {
                *o++ = 0xFFFD;
                continue;
            }
            fNeeded = lead.continuations;
            fCodePoint = lead.payload;
            fLower = lead.lower;
            fUpper = lead.upper;
            continue;
        }
        if (b < fLower || b > fUpper) {
            // The byte is not consumed: it may start the next sequence.
            fCodePoint = 0;
            fNeeded = 0;
            fLower = 0x80;
            fUpper = 0xBF;
            *o++ = 0xFFFD;
            continue;
        }
        ++i;
        fLower = 0x80;
        fUpper = 0xBF;
        fCodePoint = (fCodePoint << 6) | (b & 0x3F);
        if (--fNeeded == 0) {
            const uint32_t cp = fCodePoint;
            fCodePoint = 0;
            if (cp < 0x10000) {
                *o++ = static_cast<char16_t>(cp);
            } else {
                *o++ = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
                *o++ = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            }
        }
    }
    return static_cast<size_t>(o - out);
}

size_t Utf8Decoder::Finish(char16_t *out) {
    if (fNeeded == 0)
        return 0;
    fNeeded = 0;
    fCodePoint = 0;
    fLower = 0x80;
    fUpper = 0xBF;
    *out = 0xFFFD;
    return 1;
}

} // namespace engine
