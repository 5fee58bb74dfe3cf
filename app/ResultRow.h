// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One row of the results table, read off a listed file's verdict. The only
// place in the window that reads the verdict's fields for the table, so a
// change of the verdict is met here once.

#include <QString>
#include <cstdint>

class TWideStringHolder;

namespace app {

// What a row is; each has its colour.
enum class TRowStatus { Size, Damage, Digraph, TooShort, Unreadable };
inline constexpr int kRowStatusCount = 5;

struct TResultRow {
    TRowStatus status = TRowStatus::Size;
    // "suspect", "too-short" or "unreadable", as brindle-scan's status column.
    QString statusText;
    // The test or the damage code: "size", "digraph", "too-short", a damage
    // code, or "unreadable".
    QString code;
    QString set;         // empty when the letter pairs were not judged against a set
    double score = -1.0; // < 0 when not scored
    double cut = -1.0;   // < 0 when not known
    int64_t offset = -1; // byte offset of the first damage; -1 when none
    QString reason;
};

TResultRow MakeResultRow(const TWideStringHolder &entry);

// The status's name in the legend and the filter.
QString StatusName(TRowStatus status);

} // namespace app
