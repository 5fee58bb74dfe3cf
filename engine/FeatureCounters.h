// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The counters that fill TTextFeatures inside TTextFile's one pass, block by
// block (blocks may split anything: a UTF-8 sequence, a CR LF).
//
// Per-unit work is vector class counts (SSE2, with a plain loop under
// BRINDLE_NO_SIMD that must give the same figures); everything dearer is
// done per non-ASCII byte only, or in a second read that only a rare text
// needs (TLineCounter). The tests hold each of them to a plain loop.

#include "DigraphCounter.h"
#include "TextFeatures.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace engine {

// Recognises well-formed multi-byte UTF-8 sequences one byte at a time (the
// table of suite/Utf8Lead.h).
class TUtf8Sequence {
public:
    enum TStep { Open, Complete, Broken };
    // Takes the next byte at offset `at`. Complete: a sequence ended with it
    // (CodePoint(), Start(), Length()). Broken: the byte broke an open
    // sequence or cannot start one; a byte that broke a sequence but can
    // lead one starts it.
    TStep Push(uint8_t b, int64_t at);
    // Something that cannot continue a sequence came between (ASCII, or a
    // character with no Windows-1252 byte). True when a sequence was open.
    bool Interrupt();
    bool IsOpen() const { return fNeeded > 0; }
    uint32_t CodePoint() const { return fCodePoint; }
    int64_t Start() const { return fStart; }
    int Length() const { return fLength; }

private:
    uint32_t fCodePoint = 0;
    int fNeeded = 0;
    int fLength = 0;
    int64_t fStart = -1;
    uint8_t fLower = 0x80, fUpper = 0xBF;
};

// Feeds `seq` the bytes; false at the first that is not part of well-formed
// UTF-8 (the text is then not UTF-8). A sequence may stay open across calls.
bool FeedWellFormed(TUtf8Sequence &seq, const uint8_t *p, size_t n);

// What the one pass learns of text read byte by byte (8-bit, or UTF-8
// before decoding): controls, undefined bytes, UTF-8 validity, U+FFFD, and
// the pairs that mojibake needs (TTextFeatures::mojibakeCandidates). All of
// it is vector class counts; the only work per non-ASCII byte is the UTF-8
// check, and it stops at the first ill-formed byte.
class TByteScreen {
public:
    // `utf8Reading`: the text is read as UTF-8 whatever its bytes (as the
    // `readAsUtf8` of Finish, which must be the same).
    explicit TByteScreen(int64_t offset = 0, bool utf8Reading = false)
        : fAt(offset), fUtf8Reading(utf8Reading) {}
    void Feed(const uint8_t *p, size_t n);
    // Writes all byte features but the mojibake counts into `f` (see
    // TByteFeatureCounter::Finish for `readAsUtf8`).
    void Finish(TTextFeatures &f, bool readAsUtf8);

    // 8-bit text whose bytes a TByteDigraphCounter counts from a fresh
    // start: its table gives the counts, so the screen looks only at what
    // it cannot tell, whether the text is well-formed UTF-8 (and, while it
    // is, the UTF-8 reading's figures), and only at blocks with a byte
    // above ASCII (`high`, from TByteDigraphCounter::LastFeedHadHighBytes).
    void FeedBesideCounter(const uint8_t *p, size_t n, bool high);
    // Writes the byte features into `f` from the screen and the table.
    // Returns whether a count the table only bounds, or a first offset it
    // cannot give, calls for TByteFeatureCounter in a second read.
    bool Finish(TTextFeatures &f, const TBytePairFigures &pairs);

private:
    // Past the block [p, p + n): the bytes before the next.
    void Skip(const uint8_t *p, size_t n);
    // Bytes [from, to) of p, one at a time.
    void Scalar(const uint8_t *p, size_t from, size_t to);
    void Check(uint8_t b, bool afterAscii);
    int64_t fAt;
    bool fUtf8Reading;
    uint8_t fPrev1 = 0, fPrev2 = 0; // the two bytes before this block
    bool fAfterAscii = true;
    bool fValid = true;
    TUtf8Sequence fSeq;
    TTextFeatures fF;
    int64_t fLeadPairs = 0; // a lead byte followed by a continuation byte
    int64_t fBackPairs = 0; // C3 then, a byte later, C2, C5, C6, CB or E2
};

// The features of text read byte by byte, all counted one byte at a time:
// controls, undefined bytes, UTF-8 validity, U+FFFD, mojibake. The pass
// uses it for the mojibake counts of the rare text whose candidates call
// for them, in a second read.
class TByteFeatureCounter {
public:
    // `offset`: where in the file the first byte fed lies.
    explicit TByteFeatureCounter(int64_t offset = 0) : fAt(offset) {}
    // The next bytes of text (none of them NUL).
    void Feed(const uint8_t *p, size_t n);
    // Writes the byte features into `f`. `readAsUtf8`: the text is read as
    // UTF-8 whatever its bytes (a mark, or UTF-8 asked for); otherwise the
    // UTF-8 reading applies only when every byte is well-formed UTF-8.
    void Finish(TTextFeatures &f, bool readAsUtf8);

private:
    void NonAscii(uint8_t b, int64_t at, bool afterAscii);
    void CodePoint(uint32_t cp, int64_t start, int length, bool afterOther);
    int64_t fAt;
    bool fAfterAscii = true; // the last byte fed was ASCII (or none was)
    uint8_t fLast = 0;
    TTextFeatures fF;
    // The bytes as UTF-8 (validity, code points, the Windows-1252 reading's
    // mojibake), and the code points written back as Windows-1252 (the
    // UTF-8 reading's mojibake).
    TUtf8Sequence fBytes, fBack;
    bool fSequenceAfterAscii = true;
    int64_t fBackStart = -1;
    int fBackChars = 0;
    int64_t fAnsiMojibake = 0, fAnsiSequences = 0, fAnsiFirst = -1;
    int64_t fUtf8Mojibake = 0, fUtf8Sequences = 0, fUtf8First = -1, fUtf8Chars = 0;
};

// The shape of a text (units, whitespace, tokens, line breaks, repeats, its
// head) and, for UTF-16, U+FFFD and byte-swapped units. For uint8_t (8-bit
// text) and char16_t (decoded units).
template <class U> class TShapeCounter {
public:
    // `offset`, `unitBytes`: the file offset of the first unit fed and the
    // bytes a unit takes there (UTF-16 only: 2), for the U+FFFD offset.
    // `pairsCounted`: a digraph counter is fed the same units from a fresh
    // start; its table then gives most of the shape (Finish with its
    // TWhitePairs), and Feed counts only what the table cannot tell.
    explicit TShapeCounter(int64_t offset = 0, int unitBytes = 0, bool pairsCounted = false)
        : fOffset(offset), fUnitBytes(unitBytes), fPairsCounted(pairsCounted) {}
    // The next units of text (none of them zero).
    void Feed(const U *p, size_t n);
    // Writes the shape (and, with unitBytes 2, the UTF-16 figures) into `f`.
    void Finish(TTextFeatures &f) const;
    // The same for a counter made with `pairsCounted`: `pairs` is what the
    // digraph counter's table holds of the units fed. For decoded units the
    // table gives whitespace, breaks and most tokens and repeats; for 8-bit
    // text it tells the whole shape (Feed keeps only the head), and
    // `repeats` is the bound TBytePairFigures::sameIds.
    void Finish(TTextFeatures &f, const TWhitePairs &pairs) const requires(sizeof(U) == 2);
    void Finish(TTextFeatures &f, const TBytePairFigures &pairs) const requires(sizeof(U) == 1);
    bool PairsCounted() const { return fPairsCounted; }

private:
    // `index`: the unit index of p[0] in the text.
    void Scalar(const U *p, size_t n, int64_t index);
    void Head(const U *p, size_t n);
    // Pairs counted: the plain loop, and what the table gets wrong about
    // TAB, VT and FF (whitespace, but "other" to the table) at p[i]; the
    // block is p[0, n).
    void PairsScalar(const U *p, size_t from, size_t to, size_t n);
    void OddWhite(const U *p, size_t i, size_t n, char16_t prev, bool first);
    void FeedPairs(const U *p, size_t n);
    int64_t fOffset;
    int fUnitBytes;
    bool fPairsCounted;
    // Pairs counted: units equal to the one before, white ones included;
    // TAB, VT and FF, and those equal to the one before; what the table's
    // tokens are off by; whether the first unit was whitespace; whether the
    // last unit fed was TAB, VT or FF.
    int64_t fSame = 0, fOddWhite = 0, fOddSame = 0, fTokenFix = 0;
    bool fFirstWhite = true, fOddPending = false;
    int64_t fUnitsBefore = 0; // units fed before this block
    bool fHeadDone = false;
    int64_t fUnits = 0, fWhitespace = 0, fTokens = 0, fBreaks = 0, fRepeats = 0;
    int64_t fReplacements = 0, fFirstReplacement = -1, fSwapped = 0;
    bool fPrevWhite = true; // the unit before (none: as after whitespace)
    char16_t fPrev = 0;
    std::array<char16_t, TTextFeatures::kHeadUnits> fHead{};
    int fHeadLength = 0;
};

// Counts lines that hold a token and the commonest unit that is not
// whitespace, in a plain loop: for the second read of a text whose shape
// allows a word list or one character (Damage.cpp).
class TLineCounter {
public:
    TLineCounter();
    template <class U> void Feed(const U *p, size_t n);
    void Finish(TTextFeatures &f);

private:
    void EndToken();
    std::vector<int64_t> fCount; // per unit
    int64_t fNonEmpty = 0;
    bool fLineHasToken = false;
    // The token being read, for TTextFeatures::encodedUnits.
    int64_t fTokenUnits = 0;
    bool fTokenEncodable = true, fTokenDigit = false, fTokenLetter = false;
    int64_t fEncoded = 0;
};

// A UTF-16 unit as text in the wrong byte order shows it: its low byte below
// 0x20 and its high byte not. Every script from Latin to the Indic ones
// (U+0000 to U+1FFF) has a high byte below 0x20 and so, swapped, a low one:
// ASCII turns into U+xx00, Cyrillic U+04xx into U+xx04.
constexpr bool IsSwappedUnit(char16_t u) {
    return (u & 0xFF) < 0x20 && (u >> 8) >= 0x20;
}

// Whitespace as the shape counters see it.
constexpr bool IsTextWhitespace(char16_t u) {
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

} // namespace engine
