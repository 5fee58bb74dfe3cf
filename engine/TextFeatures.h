// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the extended checks learn about a text in the one pass that measures
// it and counts its digraphs (TTextFile::Measure): counts and first offsets
// that the damage detectors (Damage.h) judge. Offsets are bytes from the
// start of the file, the byte-order mark counted; -1 when there is none.
//
// The text ends at its first NUL, as for the size test: every count below
// is of what comes before it.

#include <array>
#include <cstdint>

namespace engine {

struct TTextFeatures {
    int64_t firstNul = -1; // the first NUL (U+0000 in UTF-16)

    // Text read byte by byte (8-bit, or UTF-8 with or without a mark).
    // C0 controls other than TAB, LF, VT, FF and CR; a single 0x1A that ends
    // the text (an old DOS end-of-file mark) is not counted.
    int64_t controls = 0;
    int64_t firstControl = -1;
    // 0x81, 0x8D, 0x8F, 0x90, 0x9D: no Windows-1252 character.
    int64_t undefinedBytes = 0;
    int64_t firstUndefined = -1;
    // Whether every byte is part of well-formed UTF-8, and how many bytes
    // are not ASCII. The extended digraph check reads a valid UTF-8 text
    // that has any as UTF-8.
    bool validUtf8 = true;
    int64_t nonAscii = 0;

    // U+FFFD: EF BF BD in byte text, the unit in UTF-16.
    int64_t replacements = 0;
    int64_t firstReplacement = -1;

    // Mojibake: characters that, written back as Windows-1252, form
    // well-formed multi-byte UTF-8 ("Ã©" for "é"), among the non-ASCII
    // characters of the reading that applies: the UTF-8 reading of a valid
    // UTF-8 text, else the Windows-1252 reading. Byte text only.
    // The one pass counts the places where a sequence could start in that
    // reading (Windows-1252: a UTF-8 lead byte followed by a continuation
    // byte; UTF-8: C3 followed a byte later by C2, C5, C6, CB or E2, the
    // first bytes of the characters whose Windows-1252 byte continues a
    // sequence), an upper bound of the sequences; 8-bit text counted with
    // the fast digraph counter gets a bound of the Windows-1252 reading's
    // from its table (TBytePairFigures::leadPairs). The counts below are made
    // in a second read, and only when the candidates allow mojibake
    // (Damage.h); they are 0 otherwise.
    int64_t mojibakeCandidates = 0;
    int64_t mojibakeSequences = 0; // characters they stand for ("Ã©" is one)
    int64_t mojibakeChars = 0;     // characters in them ("Ã©" is two)
    int64_t nonAsciiChars = 0;
    int64_t firstMojibake = -1;

    // UTF-16: a byte left over after the last whole unit, and the units as
    // text in the wrong byte order shows them (IsSwappedUnit: U+xx00 for
    // ASCII, U+xx04 for Cyrillic, …).
    bool oddUtf16 = false;
    int64_t swappedUnits = 0;

    // The text's shape, in units (bytes of 8-bit text, UTF-16 units of
    // decoded text). Whitespace is SPACE, TAB, LF, VT, FF and CR; a token is
    // a run of anything else.
    int64_t units = 0;
    int64_t whitespace = 0;
    int64_t tokens = 0;
    int64_t lineBreaks = 0; // CRs plus LFs (a CR LF counts two)
    // Adjacent equal units that are not whitespace: all of them, or for
    // 8-bit text counted with the fast digraph counter a bound its table
    // gives (TBytePairFigures::sameIds). Either is at least the repeats of
    // any one unit, which is all the second read below needs.
    int64_t repeats = 0;
    // Counted in a second read, and only when the counts above allow a word
    // list or a text of one character (see Damage.cpp); -1 otherwise.
    int64_t nonEmptyLines = -1;
    char16_t mostFrequent = 0;      // the commonest unit that is not whitespace
    int64_t mostFrequentCount = -1; // and how often it occurs
    // In the same second read: the units of tokens that look like data
    // written as text (base64, hex): at least kEncodedToken units long, only
    // ASCII letters, digits, '+', '/', '=', '-' and '_', digits and letters
    // both among them.
    static constexpr int64_t kEncodedToken = 16;
    int64_t encodedUnits = -1;

    // The one pass beside the fast byte counter only bounded a byte count
    // or could not place a first offset: the exact figures need a second
    // read (TTextFile::LookAgain).
    bool bytesOnlyBounded = false;

    // The first units of the text after leading whitespace (the mark not
    // included): enough to tell RTF, HTML or XML.
    static constexpr int kHeadUnits = 16;
    std::array<char16_t, kHeadUnits> head{};
    int headLength = 0;
};

// Takes from `exact` (a TByteFeatureCounter's count) the byte counts and
// first offsets that a pass beside the fast byte counter only bounds or
// cannot place.
inline void TakeExactByteCounts(TTextFeatures &into, const TTextFeatures &exact) {
    into.controls = exact.controls;
    into.firstControl = exact.firstControl;
    into.undefinedBytes = exact.undefinedBytes;
    into.firstUndefined = exact.firstUndefined;
    into.replacements = exact.replacements;
    into.firstReplacement = exact.firstReplacement;
}

} // namespace engine
