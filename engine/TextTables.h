// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lookup tables for decoding, upper-casing and classifying text.
//
// Upper-casing is per UTF-16 code unit, one for one (simple case mapping), so
// a text never changes length. A letter is a code unit of general category
// Lu, Ll, Lt, Lm or Lo; surrogates are never letters. The digraph rules test
// the upper-cased unit.

#include <cstdint>

namespace engine {

// Windows-1252, with its five unassigned bytes mapped to the C1 controls of
// the same value.
extern const char16_t kCp1252[256];

struct TextTables {
    char16_t upper[65536];
    // 0 other, 1 space, 2 letter; of the upper-cased unit.
    uint8_t klass[65536];

    // For 8-bit text: the byte's upper-cased unit, and a small dense id (see
    // TPairId): one per distinct upper-cased letter from kFirstLetterId on, in
    // the order of those units, so that pairs of ids sort as their digraphs do.
    char16_t byteUpper[256];
    uint8_t byteId[256];
    int byteIdCount;  // ids in use, including 0 and 1
    int asciiIdCount; // the ids of bytes below 0x80 are all below this
    // Whether the bytes of an id are those above ASCII (each id has only
    // bytes of one side).
    bool highId[256];
    char16_t idUnit[256];
};

const TextTables &Tables();

enum : uint8_t { kOther = 0, kSpace = 1, kLetter = 2 };

// The ids of a flat pair table's rows and columns. Only SPACE and the
// letters make digraphs; the other ids split what the extended checks want
// to know of 8-bit text, so that its pair counts tell it for free: CR and LF
// (the line breaks), TAB, VT and FF (the rest of the whitespace), the stray
// C0 controls, the five bytes Windows-1252 leaves undefined, and the other
// bytes above ASCII that are not letters. UTF-16 text uses only the first
// four and the letters. Of the bytes above ASCII that are not letters, the
// two that can lead a UTF-8 sequence (× and ÷) have an id of their own, so
// that no id holds both a lead byte and a continuation byte.
enum TPairId : uint8_t {
    kOtherId = 0,
    kSpaceId = 1,
    kCrId = 2,
    kLfId = 3,
    kBlankId = 4,
    kControlId = 5,
    kUndefinedId = 6,
    kHighOtherId = 7,
    kHighSignId = 8,
    kFirstLetterId = 9
};

// True when the upper-cased unit `u` is a letter.
inline bool IsLetterUnit(char16_t u) {
    return Tables().klass[u] == kLetter;
}

} // namespace engine
