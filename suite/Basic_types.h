// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Fixed-size text types of the suite's runtime.

#include <QString>
#include <array>

// A name of up to 100 UTF-16 units, NUL-terminated.
using hundredwidechar = std::array<char16_t, 101>;

// Fills a hundredwidechar from `text`, cut to 100 units.
inline hundredwidechar ToHundredWideChar(const QString &text) {
    hundredwidechar out{};
    for (qsizetype i = 0; i < text.size() && i < 100; ++i)
        out[size_t(i)] = text[i].unicode();
    return out;
}

// Reads up to the first NUL.
inline QString FromHundredWideChar(const hundredwidechar &text) {
    qsizetype n = 0;
    while (n < qsizetype(text.size()) && text[size_t(n)] != 0)
        ++n;
    return QString::fromUtf16(text.data(), n);
}
