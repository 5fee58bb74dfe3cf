// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte-order marks a text file may begin with, told apart in one place.

#include <cstddef>
#include <cstdint>

namespace platform {

enum class TByteOrderMark { None, Utf8, Utf16LE, Utf16BE };

// The mark at the start of the `n` bytes at `p`.
constexpr TByteOrderMark ByteOrderMarkOf(const uint8_t *p, size_t n) {
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF)
        return TByteOrderMark::Utf8;
    if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE)
        return TByteOrderMark::Utf16LE;
    if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF)
        return TByteOrderMark::Utf16BE;
    return TByteOrderMark::None;
}

// Its length in bytes.
constexpr int ByteOrderMarkLength(TByteOrderMark mark) {
    return mark == TByteOrderMark::None ? 0 : mark == TByteOrderMark::Utf8 ? 3 : 2;
}

} // namespace platform
