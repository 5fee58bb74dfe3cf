// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A streaming UTF-8 to UTF-16 decoder.
//
// Blocks may split a sequence anywhere. Each maximal invalid subpart becomes
// one U+FFFD (the usual replacement practice), so the decoded length of a
// file does not depend on how it was read.

#include <cstddef>
#include <cstdint>

namespace engine {

class Utf8Decoder {
public:
    // Decodes `n` bytes into `out`, which must hold at least n + 1 units.
    // Returns the number of units written.
    size_t Decode(const uint8_t *in, size_t n, char16_t *out);
    // Ends the stream: a sequence left open becomes U+FFFD. Returns 0 or 1.
    size_t Finish(char16_t *out);

private:
    uint32_t fCodePoint = 0;
    int fNeeded = 0;
    uint8_t fLower = 0x80, fUpper = 0xBF;
};

} // namespace engine
