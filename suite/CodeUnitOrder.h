// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Code-unit string order: names compared by their UTF-16 code units, whatever
// the locale or the library's notion of string order.

#include <QString>

#include <algorithm>

namespace suite {

inline bool CodeUnitLess(const QString &a, const QString &b) {
    return std::lexicographical_compare(a.utf16(), a.utf16() + a.size(), b.utf16(),
                                        b.utf16() + b.size());
}

} // namespace suite
