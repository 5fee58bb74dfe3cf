// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measures the length of a text as a text-list load gives it, without
// building the text: the first NUL ends the text, and every line break (CR LF,
// lone CR, lone LF) becomes CR LF, the last line too.
//
// length = units + CRs + LFs - 2 * (CR LF pairs) + (2 when the text is not
// empty and does not end in a line break).

#include <cstddef>
#include <cstdint>

namespace engine {

class TextMeasure {
public:
    // Feeds the next units; returns how many of them belong to the text (all
    // of them unless a NUL ends the text in this block).
    size_t Feed(const uint8_t *p, size_t n);
    size_t Feed(const char16_t *p, size_t n);
    // The same for a caller that counts the line breaks itself, as the fast
    // digraph counters do in their own pass, and hands them over with
    // AddBreaks() once the text is fed: only the end of the text is found.
    size_t FeedWithoutBreaks(const uint8_t *p, size_t n);
    size_t FeedWithoutBreaks(const char16_t *p, size_t n);
    void AddBreaks(int64_t cr, int64_t lf, int64_t crlf);

    bool Ended() const { return fEnded; }
    // Units before the first NUL, as decoded.
    int64_t RawUnits() const { return fUnits; }
    // Length of the text fed so far, without the closing line break that the
    // load adds to an unterminated last line. Can run one ahead while a CR
    // waits for its LF in the next block.
    int64_t LengthSoFar() const { return fUnits + fBreakUnits; }
    int64_t Length() const;

private:
    template <class U> size_t FeedScalar(const U *p, size_t n);
    template <class U> size_t FeedUnits(const U *p, size_t n);
    template <class U> size_t FeedEnd(const U *p, size_t n);
    int64_t fUnits = 0;
    // What the line breaks add: CRs + LFs - 2 * (CR LF pairs), that is one
    // for each lone CR or LF (which becomes CR LF), nothing for a CR LF.
    int64_t fBreakUnits = 0;
    char16_t fLast = 0;
    bool fEnded = false;
};

} // namespace engine
