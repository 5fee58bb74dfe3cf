// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeatureCounters.h"

#include "Sse2.h"
#include "TextTables.h"
#include "Utf8Lead.h"

#include <algorithm>
#include <bit>

namespace engine {

TUtf8Sequence::TStep TUtf8Sequence::Push(uint8_t b, int64_t at) {
    bool broke = false;
    if (fNeeded > 0) {
        if (b >= fLower && b <= fUpper) {
            fCodePoint = (fCodePoint << 6) | (b & 0x3F);
            fLower = 0x80;
            fUpper = 0xBF;
            ++fLength;
            return --fNeeded == 0 ? Complete : Open;
        }
        fNeeded = 0;
        broke = true;
    }
    const suite::TUtf8Lead lead = suite::Utf8Lead(b);
    if (lead.continuations == 0)
        return Broken;
    fNeeded = lead.continuations;
    fCodePoint = lead.payload;
    fLower = lead.lower;
    fUpper = lead.upper;
    fStart = at;
    fLength = 1;
    return broke ? Broken : Open;
}

bool TUtf8Sequence::Interrupt() {
    const bool open = fNeeded > 0;
    fNeeded = 0;
    return open;
}

bool FeedWellFormed(TUtf8Sequence &seq, const uint8_t *p, size_t n) {
    size_t i = 0;
    while (i < n) {
#ifdef BRINDLE_SSE2
        if (!seq.IsOpen())
            while (i + 16 <= n && _mm_movemask_epi8(_mm_loadu_si128(
                                      reinterpret_cast<const __m128i *>(p + i))) == 0)
                i += 16;
        if (i == n)
            break;
#endif
        const uint8_t b = p[i++];
        if (b < 0x80) {
            if (seq.IsOpen())
                return false;
        } else if (seq.Push(b, 0) == TUtf8Sequence::Broken) {
            return false;
        }
    }
    return true;
}

namespace {

// The Windows-1252 byte of a code point at or above U+0080, or -1 when it
// has none (the five undefined bytes stand for the C1 controls of their
// value, as everywhere in Brindle).
int Cp1252Byte(uint32_t cp) {
    if (cp >= 0xA0 && cp <= 0xFF)
        return int(cp);
    for (int b = 0x80; b < 0xA0; ++b)
        if (kCp1252[b] == cp)
            return b;
    return -1;
}

bool Undefined1252(uint8_t b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// C0 controls other than the layout ones: TAB, LF, VT, FF, CR.
bool StrayControl(uint8_t b) {
    return b < 0x20 && !(b >= 0x09 && b <= 0x0D);
}

void First(int64_t &first, int64_t at) {
    if (first < 0)
        first = at;
}

} // namespace

void TByteFeatureCounter::Feed(const uint8_t *p, size_t n) {
    size_t i = 0;
#ifdef BRINDLE_SSE2
    const __m128i top = _mm_set1_epi8(0x1F), nine = _mm_set1_epi8(9), four = _mm_set1_epi8(4);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        const unsigned high = unsigned(_mm_movemask_epi8(v));
        // Below 0x20, but not 0x09 to 0x0D.
        const __m128i c0 = _mm_cmpeq_epi8(_mm_min_epu8(v, top), v);
        const __m128i x = _mm_sub_epi8(v, nine);
        const __m128i layout = _mm_cmpeq_epi8(_mm_min_epu8(x, four), x);
        const unsigned stray = unsigned(_mm_movemask_epi8(_mm_andnot_si128(layout, c0)));
        const int64_t at = fAt + int64_t(i);
        if (stray) {
            fF.controls += std::popcount(stray);
            First(fF.firstControl, at + std::countr_zero(stray));
            fLastControl = at + 31 - std::countl_zero(stray);
        }
        if (high) {
            for (unsigned bits = high; bits; bits &= bits - 1) {
                const int j = std::countr_zero(bits);
                const bool afterAscii = j == 0 ? fAfterAscii : ((high >> (j - 1)) & 1) == 0;
                NonAscii(p[i + size_t(j)], at + j, afterAscii);
            }
            fAfterAscii = (high & 0x8000) == 0;
        } else {
            fAfterAscii = true;
        }
    }
#endif
    for (; i < n; ++i) {
        const uint8_t b = p[i];
        const int64_t at = fAt + int64_t(i);
        if (b < 0x80) {
            if (StrayControl(b)) {
                ++fF.controls;
                First(fF.firstControl, at);
                fLastControl = at;
            }
            fAfterAscii = true;
        } else {
            NonAscii(b, at, fAfterAscii);
            fAfterAscii = false;
        }
    }
    if (n > 0)
        fLast = p[n - 1];
    fAt += int64_t(n);
}

void TByteFeatureCounter::NonAscii(uint8_t b, int64_t at, bool afterAscii) {
    ++fF.nonAscii;
    if (Undefined1252(b)) {
        ++fF.undefinedBytes;
        First(fF.firstUndefined, at);
    }
    if (afterAscii) {
        // An ASCII character came between: it ends any open sequence.
        if (fBytes.Interrupt())
            fF.validUtf8 = false;
        fBack.Interrupt();
    }
    const TUtf8Sequence::TStep step = fBytes.Push(b, at);
    if (step == TUtf8Sequence::Broken) {
        fF.validUtf8 = false;
        fBack.Interrupt();
    }
    if (fBytes.IsOpen() && fBytes.Length() == 1)
        fSequenceAfterAscii = afterAscii;
    if (step == TUtf8Sequence::Complete)
        CodePoint(fBytes.CodePoint(), fBytes.Start(), fBytes.Length(), fSequenceAfterAscii);
}

void TByteFeatureCounter::CodePoint(uint32_t cp, int64_t start, int length, bool afterOther) {
    // Read as Windows-1252, the sequence's bytes are characters that form
    // well-formed UTF-8 as they stand.
    ++fAnsiSequences;
    fAnsiMojibake += length;
    First(fAnsiFirst, start);
    // Read as UTF-8, it is one character; written back as Windows-1252 it
    // gives one byte, and those bytes may form UTF-8 in turn.
    ++fUtf8Chars;
    if (cp == 0xFFFD) {
        ++fF.replacements;
        First(fF.firstReplacement, start);
    }
    if (afterOther)
        fBack.Interrupt();
    const int back = Cp1252Byte(cp);
    if (back < 0) {
        fBack.Interrupt();
        return;
    }
    if (fBack.Push(uint8_t(back), start) == TUtf8Sequence::Complete) {
        ++fUtf8Sequences;
        fUtf8Mojibake += fBack.Length();
        First(fUtf8First, fBack.Start());
    }
}

void TByteFeatureCounter::Finish(TTextFeatures &f, bool readAsUtf8) {
    if (fBytes.IsOpen())
        fF.validUtf8 = false; // a sequence cut off by the end of the text
    if (fLast == 0x1A && fLastControl == fAt - 1) {
        // A Ctrl-Z that ends the text: the end-of-file mark of old DOS files.
        if (--fF.controls == 0)
            fF.firstControl = -1;
    }
    if (readAsUtf8 || fF.validUtf8) {
        fF.mojibakeSequences = fUtf8Sequences;
        fF.mojibakeChars = fUtf8Mojibake;
        fF.nonAsciiChars = fUtf8Chars;
        fF.firstMojibake = fUtf8First;
    } else {
        fF.mojibakeSequences = fAnsiSequences;
        fF.mojibakeChars = fAnsiMojibake;
        fF.nonAsciiChars = fF.nonAscii;
        fF.firstMojibake = fAnsiFirst;
    }
    f.controls = fF.controls;
    f.firstControl = fF.firstControl;
    f.undefinedBytes = fF.undefinedBytes;
    f.firstUndefined = fF.firstUndefined;
    f.validUtf8 = fF.validUtf8;
    f.nonAscii = fF.nonAscii;
    f.replacements = fF.replacements;
    f.firstReplacement = fF.firstReplacement;
    f.mojibakeSequences = fF.mojibakeSequences;
    f.mojibakeChars = fF.mojibakeChars;
    f.nonAsciiChars = fF.nonAsciiChars;
    f.firstMojibake = fF.firstMojibake;
}

namespace {

#ifdef BRINDLE_SSE2
// Sixteen units' class masks, one bit a unit in text order.
struct TMasks {
    unsigned white, breaks, repeat, replacement, swapped;
};

TMasks MasksOf(const uint8_t *p) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p - 1));
    const __m128i x = _mm_sub_epi8(v, _mm_set1_epi8(9));
    const __m128i layout = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(4)), x);
    const __m128i white = _mm_or_si128(layout, _mm_cmpeq_epi8(v, _mm_set1_epi8(' ')));
    const __m128i breaks = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(v, _mm_set1_epi8('\n')));
    return {unsigned(_mm_movemask_epi8(white)), unsigned(_mm_movemask_epi8(breaks)),
            unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(v, before))), 0, 0};
}

TMasks MasksOf(const char16_t *p) {
    TMasks m{};
    __m128i white[2], breaks[2], repeat[2], replacement[2], swapped[2];
    for (int h = 0; h < 2; ++h) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 8 * h));
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 8 * h - 1));
        // v - 9 below 5, unsigned: flip the sign bit for a signed compare.
        const __m128i x =
            _mm_xor_si128(_mm_sub_epi16(v, _mm_set1_epi16(9)), _mm_set1_epi16(int16_t(0x8000)));
        const __m128i layout = _mm_cmplt_epi16(x, _mm_set1_epi16(int16_t(0x8005)));
        white[h] = _mm_or_si128(layout, _mm_cmpeq_epi16(v, _mm_set1_epi16(' ')));
        breaks[h] = _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('\r')),
                                 _mm_cmpeq_epi16(v, _mm_set1_epi16('\n')));
        repeat[h] = _mm_cmpeq_epi16(v, before);
        replacement[h] = _mm_cmpeq_epi16(v, _mm_set1_epi16(int16_t(0xFFFD)));
        swapped[h] = _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(0xFF)), _mm_setzero_si128());
    }
    const auto bits = [](const __m128i *m) {
        return unsigned(_mm_movemask_epi8(_mm_packs_epi16(m[0], m[1])));
    };
    m.white = bits(white);
    m.breaks = bits(breaks);
    m.repeat = bits(repeat);
    m.replacement = bits(replacement);
    m.swapped = bits(swapped);
    return m;
}
#endif

} // namespace

template <class U> void TShapeCounter<U>::Feed(const U *p, size_t n) {
    if (n == 0)
        return;
    if (!fHeadDone)
        Head(p, n);
    // The first unit is compared with the one before the block, by hand; the
    // vectors then compare each unit with the one before it in the block.
    Scalar(p, 1, fUnitsBefore);
    size_t i = 1;
#ifdef BRINDLE_SSE2
    for (; i + 16 <= n; i += 16) {
        const TMasks m = MasksOf(p + i);
        const unsigned text = ~m.white & 0xFFFF;
        const unsigned afterWhite = ((m.white << 1) | (fPrevWhite ? 1u : 0u)) & 0xFFFF;
        fUnits += 16;
        fWhitespace += std::popcount(m.white);
        fTokens += std::popcount(text & afterWhite);
        fBreaks += std::popcount(m.breaks);
        fRepeats += std::popcount(m.repeat & text);
        if constexpr (sizeof(U) == 2) {
            if (m.replacement) {
                if (fReplacements == 0)
                    fFirstReplacement = fUnitsBefore + int64_t(i) + std::countr_zero(m.replacement);
                fReplacements += std::popcount(m.replacement);
            }
            fSwapped += std::popcount(m.swapped);
        }
        fPrevWhite = (m.white & 0x8000) != 0;
        fPrev = p[i + 15];
    }
#endif
    Scalar(p + i, n - i, fUnitsBefore + int64_t(i));
    fUnitsBefore += int64_t(n);
}

template <class U> void TShapeCounter<U>::Scalar(const U *p, size_t n, int64_t index) {
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = p[i];
        const bool white = IsTextWhitespace(u);
        ++fUnits;
        fWhitespace += white;
        fTokens += !white && fPrevWhite;
        fBreaks += u == u'\r' || u == u'\n';
        fRepeats += !white && u == fPrev;
        if constexpr (sizeof(U) == 2) {
            if (u == 0xFFFD) {
                if (fReplacements == 0)
                    fFirstReplacement = index + int64_t(i);
                ++fReplacements;
            }
            fSwapped += (u & 0xFF) == 0;
        }
        fPrevWhite = white;
        fPrev = u;
    }
}

template <class U> void TShapeCounter<U>::Head(const U *p, size_t n) {
    for (size_t i = 0; i < n && fHeadLength < TTextFeatures::kHeadUnits; ++i) {
        if (fHeadLength == 0 && IsTextWhitespace(p[i]))
            continue;
        fHead[size_t(fHeadLength++)] = p[i];
    }
    fHeadDone = fHeadLength == TTextFeatures::kHeadUnits;
}

template <class U> void TShapeCounter<U>::Finish(TTextFeatures &f) const {
    f.units = fUnits;
    f.whitespace = fWhitespace;
    f.tokens = fTokens;
    f.lineBreaks = fBreaks;
    f.repeats = fRepeats;
    f.head = fHead;
    f.headLength = fHeadLength;
    if (fUnitBytes == 2) {
        f.replacements = fReplacements;
        f.firstReplacement = fReplacements > 0 ? fOffset + 2 * fFirstReplacement : -1;
        f.swappedUnits = fSwapped;
    }
}

template class TShapeCounter<uint8_t>;
template class TShapeCounter<char16_t>;

TLineCounter::TLineCounter() : fCount(65536, 0) {}

template <class U> void TLineCounter::Feed(const U *p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (u == u'\r' || u == u'\n') {
            fNonEmpty += fLineHasToken;
            fLineHasToken = false;
        } else if (!IsTextWhitespace(u)) {
            fLineHasToken = true;
            ++fCount[u];
        }
    }
}

template void TLineCounter::Feed<uint8_t>(const uint8_t *, size_t);
template void TLineCounter::Feed<char16_t>(const char16_t *, size_t);

void TLineCounter::Finish(TTextFeatures &f) const {
    f.nonEmptyLines = fNonEmpty + (fLineHasToken ? 1 : 0);
    const auto most = std::max_element(fCount.begin(), fCount.end());
    f.mostFrequent = char16_t(most - fCount.begin());
    f.mostFrequentCount = *most;
}

} // namespace engine
