// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The well-formed UTF-8 byte sequences (the Unicode Standard's table of
// them), said once for every reader of UTF-8: which bytes may lead a
// sequence, how many continuation bytes follow, and the narrower range the
// first continuation byte must fall in after E0, ED, F0 and F4 (no overlong
// forms, no surrogates, nothing past U+10FFFF).

#include <cstdint>

namespace suite {

struct TUtf8Lead {
    int continuations = 0; // 0: the byte cannot lead a multi-byte sequence
    uint8_t lower = 0x80;  // bounds of the first continuation byte
    uint8_t upper = 0xBF;
    uint8_t payload = 0; // the lead byte's bits of the code point
};

constexpr TUtf8Lead Utf8Lead(uint8_t b) {
    if (b >= 0xC2 && b <= 0xDF)
        return {1, 0x80, 0xBF, uint8_t(b & 0x1F)};
    if (b >= 0xE0 && b <= 0xEF)
        return {2, uint8_t(b == 0xE0 ? 0xA0 : 0x80), uint8_t(b == 0xED ? 0x9F : 0xBF),
                uint8_t(b & 0x0F)};
    if (b >= 0xF0 && b <= 0xF4)
        return {3, uint8_t(b == 0xF0 ? 0x90 : 0x80), uint8_t(b == 0xF4 ? 0x8F : 0xBF),
                uint8_t(b & 0x07)};
    return {};
}

} // namespace suite
