// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeatureCounters.h"

#include "Simd.h"
#include "TextTables.h"
#include "Utf8Lead.h"

#include <algorithm>
#include <bit>
#include <type_traits>

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

// The Windows-1252 byte of each code point below U+2200 (every one that has
// one lies there: U+2122 is the highest), 0 for none. The five undefined
// bytes stand for the C1 controls of their value, as everywhere in Brindle.
const uint8_t *Cp1252Bytes() {
    static const std::vector<uint8_t> table = [] {
        std::vector<uint8_t> t(0x2200, 0);
        for (int b = 0x80; b < 0x100; ++b)
            t[kCp1252[b]] = uint8_t(b);
        return t;
    }();
    return table.data();
}

int Cp1252Byte(uint32_t cp) {
    const uint8_t b = cp < 0x2200 ? Cp1252Bytes()[cp] : 0;
    return b ? int(b) : -1;
}

bool Undefined1252(uint8_t b) {
    return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

// C0 controls other than the layout ones: TAB, LF, VT, FF, CR.
bool StrayControl(uint8_t b) {
    return b < 0x20 && !(b >= 0x09 && b <= 0x0D);
}

// The bits of a 16-bit mask, without a library call where the target has no
// popcount instruction.
constexpr int Count16(unsigned m) {
    m -= (m >> 1) & 0x5555u;
    m = (m & 0x3333u) + ((m >> 2) & 0x3333u);
    m = (m + (m >> 4)) & 0x0F0Fu;
    return int((m + (m >> 8)) & 0x1Fu);
}
static_assert(Count16(0xFFFF) == 16 && Count16(0x8001) == 2 && Count16(0) == 0);

void First(int64_t &first, int64_t at) {
    if (first < 0)
        first = at;
}

// One more of a kind of damage at `at`, whose first place is kept.
void Tally(int64_t &count, int64_t &first, int64_t at) {
    ++count;
    First(first, at);
}

#ifdef BRINDLE_SSE2
// Counts in the lanes of a vector, one per lane a step (the masks are 0 or
// -1), added up before a lane can wrap: every kSteps steps of one mask.
struct TByteTally {
    static constexpr size_t kSteps = 255;
    __m128i acc = _mm_setzero_si128();
    void Add(__m128i mask) { acc = _mm_sub_epi8(acc, mask); }
    int64_t Take() {
        const __m128i s = _mm_sad_epu8(acc, _mm_setzero_si128());
        acc = _mm_setzero_si128();
        return int64_t(_mm_cvtsi128_si32(s)) + int64_t(_mm_extract_epi16(s, 4));
    }
};

struct TWordTally {
    static constexpr size_t kSteps = 8192; // two masks a step: 16384 a lane
    __m128i acc = _mm_setzero_si128();
    void Add(__m128i mask) { acc = _mm_sub_epi16(acc, mask); }
    int64_t Take() {
        // Lanes are unsigned: add them as pairs of 32-bit halves.
        const __m128i lo = _mm_and_si128(acc, _mm_set1_epi32(0xFFFF));
        const __m128i hi = _mm_srli_epi32(acc, 16);
        alignas(16) int32_t lanes[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(lanes), _mm_add_epi32(lo, hi));
        acc = _mm_setzero_si128();
        return int64_t(lanes[0]) + lanes[1] + lanes[2] + lanes[3];
    }
};

// Whitespace (0x09 to 0x0D, and SPACE), per byte.
__m128i WhiteBytes(__m128i v) {
    const __m128i x = _mm_sub_epi8(v, _mm_set1_epi8(9));
    const __m128i layout = _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(4)), x);
    return _mm_or_si128(layout, _mm_cmpeq_epi8(v, _mm_set1_epi8(' ')));
}

__m128i WhiteUnits(__m128i v) {
    // v - 9 below 5, unsigned: flip the sign bit for a signed compare.
    const __m128i x =
        _mm_xor_si128(_mm_sub_epi16(v, _mm_set1_epi16(9)), _mm_set1_epi16(int16_t(0x8000)));
    const __m128i layout = _mm_cmplt_epi16(x, _mm_set1_epi16(int16_t(0x8005)));
    return _mm_or_si128(layout, _mm_cmpeq_epi16(v, _mm_set1_epi16(' ')));
}

// IsSwappedUnit, per unit: both bytes of a unit lie in 0..255, so signed
// 16-bit compares serve.
__m128i SwappedUnits(__m128i v) {
    const __m128i low = _mm_and_si128(v, _mm_set1_epi16(0xFF));
    const __m128i high = _mm_srli_epi16(v, 8);
    return _mm_and_si128(_mm_cmplt_epi16(low, _mm_set1_epi16(0x20)),
                         _mm_cmpgt_epi16(high, _mm_set1_epi16(0x1F)));
}
#endif

} // namespace

void TByteScreen::Check(uint8_t b, bool afterAscii) {
    if ((afterAscii && fSeq.IsOpen()) || fSeq.Push(b, 0) == TUtf8Sequence::Broken)
        fValid = false;
}

namespace {

bool Lead8(uint8_t b) {
    return b >= 0xC2 && b <= 0xF4;
}
bool Continuation(uint8_t b) {
    return b >= 0x80 && b <= 0xBF;
}
// The first bytes of the characters whose Windows-1252 byte continues a
// UTF-8 sequence (U+00A0 to U+00BF, the C1 controls, and the letters and
// signs Windows-1252 puts at 0x80 to 0x9F).
bool BackContinues(uint8_t b) {
    return b == 0xC2 || b == 0xC5 || b == 0xC6 || b == 0xCB || b == 0xE2;
}

} // namespace

void TByteScreen::Scalar(const uint8_t *p, size_t from, size_t to) {
    for (size_t j = from; j < to; ++j) {
        const uint8_t b = p[j];
        const uint8_t b1 = j >= 1 ? p[j - 1] : fPrev1;
        const uint8_t b2 = j >= 2 ? p[j - 2] : j == 1 ? fPrev1 : fPrev2;
        const int64_t at = fAt + int64_t(j);
        if (b < 0x80) {
            if (StrayControl(b))
                Tally(fF.controls, fF.firstControl, at);
            fAfterAscii = true;
            continue;
        }
        ++fF.nonAscii;
        if (Undefined1252(b))
            Tally(fF.undefinedBytes, fF.firstUndefined, at);
        if (b2 == 0xEF && b1 == 0xBF && b == 0xBD)
            Tally(fF.replacements, fF.firstReplacement, at - 2);
        fLeadPairs += Lead8(b1) && Continuation(b);
        fBackPairs += b2 == 0xC3 && BackContinues(b);
        if (fValid)
            Check(b, fAfterAscii);
        fAfterAscii = false;
    }
}

void TByteScreen::Feed(const uint8_t *p, size_t n) {
    if (n == 0)
        return;
    // The first two bytes look back into the block before, by hand.
    size_t i = std::min<size_t>(n, 2);
    Scalar(p, 0, i);
#ifdef BRINDLE_SSE2
    TByteTally high;
    const auto eq = [](__m128i v, int b) { return _mm_cmpeq_epi8(v, _mm_set1_epi8(char(b))); };
    const auto in = [](__m128i v, int lo, int hi) {
        const __m128i c =
            _mm_min_epu8(_mm_max_epu8(v, _mm_set1_epi8(char(lo))), _mm_set1_epi8(char(hi)));
        return unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(c, v)));
    };
    const auto count = [](unsigned bits) { return bits ? Count16(bits) : 0; };
    while (i + 16 <= n) {
        const size_t stop = std::min(n - (n - i) % 16, i + 16 * TByteTally::kSteps);
        for (; i < stop; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            // Most vectors are ASCII with no C0 control but the layout ones:
            // one test for them, whose masks serve the rest.
            const __m128i mid = _mm_sub_epi8(v, _mm_set1_epi8(14));
            const unsigned ctl = unsigned(_mm_movemask_epi8(
                _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(8)), v),
                             _mm_cmpeq_epi8(_mm_min_epu8(mid, _mm_set1_epi8(0x1F - 14)), mid))));
            const unsigned bits = unsigned(_mm_movemask_epi8(v));
            if ((ctl | bits) == 0) {
                fAfterAscii = true;
                continue;
            }
            if (ctl) {
                First(fF.firstControl, fAt + int64_t(i) + std::countr_zero(ctl));
                fF.controls += Count16(ctl);
            }
            if (bits == 0) {
                fAfterAscii = true;
                continue;
            }
            high.Add(_mm_cmplt_epi8(v, _mm_setzero_si128()));
            const int64_t at = fAt + int64_t(i);
            // One bit a byte from here on; bit j is byte i + j.
            const unsigned cont = in(v, 0x80, 0xBF);
            // Text read as UTF-8 whatever its bytes needs only the UTF-8
            // reading's candidates; other text needs the UTF-8 reading's
            // only while its bytes may still all be UTF-8.
            if (!fUtf8Reading && cont) {
                const unsigned lead = in(v, 0xC2, 0xF4);
                const unsigned afterLead = ((lead << 1) | (Lead8(p[i - 1]) ? 1u : 0u)) & 0xFFFF;
                fLeadPairs += count(cont & afterLead);
            }
            const bool needBack = fValid || fUtf8Reading;
            const unsigned c3 = needBack ? unsigned(_mm_movemask_epi8(eq(v, 0xC3))) : 0;
            const unsigned twoAfterC3 =
                needBack
                    ? ((c3 << 2) | (p[i - 2] == 0xC3 ? 1u : 0u) | (p[i - 1] == 0xC3 ? 2u : 0u)) &
                          0xFFFF
                    : 0;
            if (twoAfterC3) {
                const __m128i back =
                    _mm_or_si128(_mm_or_si128(eq(v, 0xC2), eq(v, 0xC5)),
                                 _mm_or_si128(_mm_or_si128(eq(v, 0xC6), eq(v, 0xCB)), eq(v, 0xE2)));
                fBackPairs += count(unsigned(_mm_movemask_epi8(back)) & twoAfterC3);
            }
            // EF BF BD ends in, and the five undefined bytes are,
            // continuation bytes: most text above ASCII has none.
            if (cont) {
                for (unsigned bd = unsigned(_mm_movemask_epi8(eq(v, 0xBD))); bd; bd &= bd - 1) {
                    const size_t j = i + size_t(std::countr_zero(bd));
                    if (p[j - 2] == 0xEF && p[j - 1] == 0xBF && fF.replacements++ == 0)
                        fF.firstReplacement = fAt + int64_t(j) - 2;
                }
                // The five bytes lie in 0x80 to 0x9D.
                if (in(v, 0x81, 0x9D)) {
                    const __m128i und = _mm_or_si128(
                        _mm_or_si128(eq(v, 0x81), eq(v, 0x8D)),
                        _mm_or_si128(_mm_or_si128(eq(v, 0x8F), eq(v, 0x90)), eq(v, 0x9D)));
                    if (const unsigned m = unsigned(_mm_movemask_epi8(und))) {
                        First(fF.firstUndefined, at + std::countr_zero(m));
                        fF.undefinedBytes += Count16(m);
                    }
                }
            }
            if (fValid) {
                // Most UTF-8 of the five languages is two-byte sequences,
                // whole within the 16 bytes: each checked in one go.
                const unsigned lead2 = in(v, 0xC2, 0xDF);
                const bool pairsOnly = !fSeq.IsOpen() && bits == (lead2 | cont) &&
                                       cont == ((lead2 << 1) & 0xFFFF) && !(lead2 & 0x8000);
                if (!pairsOnly)
                    for (unsigned left = bits; left && fValid; left &= left - 1) {
                        const int j = std::countr_zero(left);
                        Check(p[i + size_t(j)],
                              j == 0 ? fAfterAscii : ((bits >> (j - 1)) & 1) == 0);
                    }
            }
            fAfterAscii = (bits & 0x8000) == 0;
        }
        fF.nonAscii += high.Take();
    }
#endif
    Scalar(p, i, n);
    Skip(p, n);
}

void TByteScreen::Skip(const uint8_t *p, size_t n) {
    fPrev2 = n >= 2 ? p[n - 2] : fPrev1;
    fPrev1 = p[n - 1];
    fAt += int64_t(n);
}

void TByteScreen::FeedBesideCounter(const uint8_t *p, size_t n, bool high) {
    if (n == 0)
        return;
    if (fValid && high) {
        Feed(p, n);
        return;
    }
    // Not UTF-8 already, or all ASCII: an ASCII block breaks an open
    // sequence, and leaves nothing else for the screen to see.
    if (fSeq.IsOpen())
        fValid = false;
    fAfterAscii = true;
    Skip(p, n);
}

bool TByteScreen::Finish(TTextFeatures &f, const TBytePairFigures &pairs) {
    Finish(f, false);
    // A valid text's bytes above ASCII were all screened; other counts are
    // the table's.
    f.controls = pairs.controls - (fPrev1 == 0x1A ? 1 : 0);
    f.firstControl = -1;
    f.nonAscii = pairs.high;
    if (!f.validUtf8) {
        f.undefinedBytes = pairs.undefined;
        f.firstUndefined = -1;
        f.replacements = pairs.replacementStarts;
        f.firstReplacement = -1;
        f.mojibakeCandidates = pairs.leadPairs;
    }
    return f.controls > 0 || (!f.validUtf8 && (f.undefinedBytes > 0 || f.replacements > 0));
}

void TByteScreen::Finish(TTextFeatures &f, bool readAsUtf8) {
    // A Ctrl-Z that ends the text: the end-of-file mark of old DOS files.
    if (fPrev1 == 0x1A && --fF.controls == 0)
        fF.firstControl = -1;
    const bool valid = fValid && !fSeq.IsOpen();
    f.controls = fF.controls;
    f.firstControl = fF.firstControl;
    f.undefinedBytes = fF.undefinedBytes;
    f.firstUndefined = fF.firstUndefined;
    f.validUtf8 = valid;
    f.nonAscii = fF.nonAscii;
    f.replacements = fF.replacements;
    f.firstReplacement = fF.firstReplacement;
    f.mojibakeCandidates = readAsUtf8 || valid ? fBackPairs : fLeadPairs;
}

void TByteFeatureCounter::Feed(const uint8_t *p, size_t n) {
    // A plain loop: this counter runs only in the second read of a rare
    // text.
    size_t i = 0;
    for (; i < n; ++i) {
        const uint8_t b = p[i];
        const int64_t at = fAt + int64_t(i);
        if (b < 0x80) {
            if (StrayControl(b))
                Tally(fF.controls, fF.firstControl, at);
            fAfterAscii = true;
        } else {
            ++fF.nonAscii;
            NonAscii(b, at, fAfterAscii);
            fAfterAscii = false;
        }
    }
    if (n > 0)
        fLast = p[n - 1];
    fAt += int64_t(n);
}

void TByteFeatureCounter::NonAscii(uint8_t b, int64_t at, bool afterAscii) {
    if (Undefined1252(b))
        Tally(fF.undefinedBytes, fF.firstUndefined, at);
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
    if (cp == 0xFFFD)
        Tally(fF.replacements, fF.firstReplacement, start);
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
    if (fLast == 0x1A) {
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

template <class U> void TShapeCounter<U>::Feed(const U *p, size_t n) {
    if (n == 0)
        return;
    if (fPairsCounted) {
        FeedPairs(p, n);
        return;
    }
    if (!fHeadDone)
        Head(p, n);
    // The first unit is compared with the one before the block, by hand; the
    // vectors then compare each unit with the one before it in the block.
    Scalar(p, 1, fUnitsBefore);
    size_t i = 1;
#ifdef BRINDLE_SSE2
    if constexpr (sizeof(U) == 1) {
        TByteTally white, tokens, breaks, repeats;
        // Whether each unit before is whitespace: the last mask moved on by
        // one byte, its last lane carried into the first.
        __m128i lastWhite = fPrevWhite ? _mm_set1_epi8(-1) : _mm_setzero_si128();
        while (i + 16 <= n) {
            const size_t stop = std::min(n - (n - i) % 16, i + 16 * TByteTally::kSteps);
            for (; i < stop; i += 16) {
                const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
                const __m128i before =
                    _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i - 1));
                const __m128i w = WhiteBytes(v);
                white.Add(w);
                const __m128i whiteBefore =
                    _mm_or_si128(_mm_slli_si128(w, 1), _mm_srli_si128(lastWhite, 15));
                lastWhite = w;
                tokens.Add(_mm_andnot_si128(w, whiteBefore));
                breaks.Add(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\r')),
                                        _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))));
                repeats.Add(_mm_andnot_si128(w, _mm_cmpeq_epi8(v, before)));
            }
            fWhitespace += white.Take();
            fTokens += tokens.Take();
            fBreaks += breaks.Take();
            fRepeats += repeats.Take();
        }
    } else {
        TWordTally white, tokens, breaks, repeats, swapped;
        while (i + 16 <= n) {
            const size_t stop = std::min(n - (n - i) % 16, i + 16 * TWordTally::kSteps);
            for (; i < stop; i += 16) {
                __m128i fffd = _mm_setzero_si128();
                for (size_t h = 0; h < 16; h += 8) {
                    const auto *at = reinterpret_cast<const __m128i *>(p + i + h);
                    const __m128i v = _mm_loadu_si128(at);
                    const __m128i before =
                        _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i + h - 1));
                    const __m128i w = WhiteUnits(v);
                    white.Add(w);
                    tokens.Add(_mm_andnot_si128(w, WhiteUnits(before)));
                    breaks.Add(_mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('\r')),
                                            _mm_cmpeq_epi16(v, _mm_set1_epi16('\n'))));
                    repeats.Add(_mm_andnot_si128(w, _mm_cmpeq_epi16(v, before)));
                    swapped.Add(SwappedUnits(v));
                    fffd = _mm_or_si128(fffd, _mm_cmpeq_epi16(v, _mm_set1_epi16(int16_t(0xFFFD))));
                }
                if (_mm_movemask_epi8(fffd)) {
                    // Rare: count them by hand.
                    for (size_t k = 0; k < 16; ++k)
                        if (p[i + k] == 0xFFFD && fReplacements++ == 0)
                            fFirstReplacement = fUnitsBefore + int64_t(i + k);
                }
            }
            fWhitespace += white.Take();
            fTokens += tokens.Take();
            fBreaks += breaks.Take();
            fRepeats += repeats.Take();
            fSwapped += swapped.Take();
        }
    }
    if (i > 1) {
        fUnits += int64_t(i - 1);
        fPrevWhite = IsTextWhitespace(p[i - 1]);
        fPrev = p[i - 1];
    }
#endif
    Scalar(p + i, n - i, fUnitsBefore + int64_t(i));
    fUnitsBefore += int64_t(n);
}

namespace {

// TAB, VT and FF: whitespace that the pair tables count as "other".
constexpr bool OddWhite(char16_t u) {
    return u == u'\t' || u == u'\v' || u == u'\f';
}

} // namespace

template <class U>
void TShapeCounter<U>::OddWhite(const U *p, size_t i, size_t n, char16_t prev, bool first) {
    // The table took the pair (prev, TAB) for a token after SPACE, CR or
    // LF, and the pair (TAB, next) for none.
    ++fOddWhite;
    if (!first) {
        fTokenFix -= prev == u' ' || prev == u'\r' || prev == u'\n';
        fOddSame += prev == p[i];
    }
    if (i + 1 < n)
        fTokenFix += !IsTextWhitespace(p[i + 1]);
    else
        fOddPending = true;
}

template <class U>
void TShapeCounter<U>::PairsScalar(const U *p, size_t from, size_t to, size_t n) {
    for (size_t i = from; i < to; ++i) {
        const char16_t u = p[i];
        const char16_t prev = i > 0 ? char16_t(p[i - 1]) : fPrev;
        fSame += u == prev;
        if (engine::OddWhite(u))
            OddWhite(p, i, n, prev, fUnitsBefore + int64_t(i) == 0);
        if constexpr (sizeof(U) == 2) {
            if (fUnitBytes == 2) {
                if (u == 0xFFFD && fReplacements++ == 0)
                    fFirstReplacement = fUnitsBefore + int64_t(i);
                fSwapped += IsSwappedUnit(u);
            }
        }
    }
    fUnits += int64_t(to - from);
}

template <class U> void TShapeCounter<U>::FeedPairs(const U *p, size_t n) {
    if (!fHeadDone)
        Head(p, n);
    if (fUnitsBefore == 0)
        fFirstWhite = IsTextWhitespace(p[0]);
    if constexpr (sizeof(U) == 1) {
        // The byte table tells the rest.
        fUnits += int64_t(n);
        fUnitsBefore += int64_t(n);
        return;
    }
    if (fOddPending) {
        fTokenFix += !IsTextWhitespace(p[0]);
        fOddPending = false;
    }
    // Unit 0 is compared with the one before the block, by hand.
    PairsScalar(p, 0, 1, n);
    size_t i = 1;
#ifdef BRINDLE_SSE2
    // Only units equal to the one before, and the rare TAB, VT and FF: the
    // C0 controls but CR and LF, found first as a whole, then one by one.
    const auto odd = [&](unsigned bits, size_t at, int shift) {
        for (; bits; bits &= bits - 1) {
            const size_t j = at + (size_t(std::countr_zero(bits)) >> shift);
            if (engine::OddWhite(p[j]))
                OddWhite(p, j, n, p[j - 1], false);
        }
    };
    if constexpr (sizeof(U) == 2) {
        TWordTally same, swapped;
        // Two loops: decoded UTF-8 has no U+FFFD or swapped units to count.
        const auto loop = [&](auto utf16) {
            while (i + 16 <= n) {
                const size_t stop = std::min(n - (n - i) % 16, i + 16 * TWordTally::kSteps);
                for (; i < stop; i += 16) {
                    const auto *at = reinterpret_cast<const __m128i *>(p + i);
                    const __m128i v0 = _mm_loadu_si128(at), v1 = _mm_loadu_si128(at + 1);
                    const auto *before = reinterpret_cast<const __m128i *>(p + i - 1);
                    same.Add(_mm_cmpeq_epi16(v0, _mm_loadu_si128(before)));
                    same.Add(_mm_cmpeq_epi16(v1, _mm_loadu_si128(before + 1)));
                    // Signed saturation keeps the units below 0x80 and
                    // makes no other one a C0 control: one byte test for all.
                    const __m128i b = _mm_packs_epi16(v0, v1);
                    const __m128i c0 = _mm_cmpeq_epi8(_mm_min_epu8(b, _mm_set1_epi8(0x1F)), b);
                    const __m128i crlf = _mm_or_si128(_mm_cmpeq_epi8(b, _mm_set1_epi8('\r')),
                                                      _mm_cmpeq_epi8(b, _mm_set1_epi8('\n')));
                    if (const unsigned bits =
                            unsigned(_mm_movemask_epi8(_mm_andnot_si128(crlf, c0))))
                        odd(bits, i, 0);
                    if constexpr (decltype(utf16)::value) {
                        swapped.Add(SwappedUnits(v0));
                        swapped.Add(SwappedUnits(v1));
                        const __m128i r = _mm_set1_epi16(int16_t(0xFFFD));
                        if (_mm_movemask_epi8(
                                _mm_or_si128(_mm_cmpeq_epi16(v0, r), _mm_cmpeq_epi16(v1, r)))) {
                            for (size_t k = 0; k < 16; ++k)
                                if (p[i + k] == 0xFFFD && fReplacements++ == 0)
                                    fFirstReplacement = fUnitsBefore + int64_t(i + k);
                        }
                    }
                }
                fSame += same.Take();
                fSwapped += swapped.Take();
            }
        };
        if (fUnitBytes == 2)
            loop(std::true_type{});
        else
            loop(std::false_type{});
    }
    fUnits += int64_t(i - 1);
#endif
    PairsScalar(p, i, n, n);
    fPrev = p[n - 1];
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
            fSwapped += IsSwappedUnit(u);
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

template <class U>
void TShapeCounter<U>::Finish(TTextFeatures &f, const TWhitePairs &pairs) const
    requires(sizeof(U) == 2) {
    Finish(f);
    f.whitespace = pairs.white + fOddWhite;
    f.tokens = pairs.toOther + fTokenFix + (fUnits > 0 && !fFirstWhite ? 1 : 0);
    f.repeats = fSame - pairs.same - fOddSame;
    f.lineBreaks = pairs.breaks;
}

template <class U>
void TShapeCounter<U>::Finish(TTextFeatures &f, const TBytePairFigures &pairs) const
    requires(sizeof(U) == 1) {
    Finish(f);
    f.whitespace = pairs.white;
    f.tokens = pairs.tokenStarts + (fUnits > 0 && !fFirstWhite ? 1 : 0);
    f.repeats = pairs.sameIds;
    f.lineBreaks = pairs.breaks;
}

template class TShapeCounter<uint8_t>;
template class TShapeCounter<char16_t>;

TLineCounter::TLineCounter() : fCount(65536, 0) {}

void TLineCounter::EndToken() {
    if (fTokenUnits >= TTextFeatures::kEncodedToken && fTokenEncodable && fTokenDigit &&
        fTokenLetter)
        fEncoded += fTokenUnits;
    fTokenUnits = 0;
    fTokenEncodable = true;
    fTokenDigit = fTokenLetter = false;
}

template <class U> void TLineCounter::Feed(const U *p, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        const char16_t u = p[i];
        if (IsTextWhitespace(u)) {
            if (fTokenUnits > 0)
                EndToken();
            if (u == u'\r' || u == u'\n') {
                fNonEmpty += fLineHasToken;
                fLineHasToken = false;
            }
            continue;
        }
        fLineHasToken = true;
        ++fCount[u];
        ++fTokenUnits;
        const bool digit = u >= u'0' && u <= u'9';
        const bool letter = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
        fTokenDigit = fTokenDigit || digit;
        fTokenLetter = fTokenLetter || letter;
        fTokenEncodable = fTokenEncodable && (digit || letter || u == u'+' || u == u'/' ||
                                              u == u'=' || u == u'-' || u == u'_');
    }
}

template void TLineCounter::Feed<uint8_t>(const uint8_t *, size_t);
template void TLineCounter::Feed<char16_t>(const char16_t *, size_t);

void TLineCounter::Finish(TTextFeatures &f) {
    if (fTokenUnits > 0)
        EndToken();
    f.encodedUnits = fEncoded;
    f.nonEmptyLines = fNonEmpty + (fLineHasToken ? 1 : 0);
    const auto most = std::max_element(fCount.begin(), fCount.end());
    f.mostFrequent = char16_t(most - fCount.begin());
    f.mostFrequentCount = *most;
}

} // namespace engine
