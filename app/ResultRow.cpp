// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultRow.h"

#include "file_crap_detector.h"

namespace app {

namespace {

TRowStatus StatusOf(const TWideStringHolder &entry) {
    if (entry.unreadable)
        return TRowStatus::Unreadable;
    switch (entry.details.test) {
    case engine::TSuspectTest::Size:
        return TRowStatus::Size;
    case engine::TSuspectTest::Damage:
        return TRowStatus::Damage;
    case engine::TSuspectTest::Digraph:
        return TRowStatus::Digraph;
    case engine::TSuspectTest::TooShort:
        return TRowStatus::TooShort;
    }
    return TRowStatus::Size;
}

QString TestName(TRowStatus status) {
    switch (status) {
    case TRowStatus::Size:
        return QStringLiteral("size");
    case TRowStatus::Damage:
        return QStringLiteral("damage");
    case TRowStatus::Digraph:
        return QStringLiteral("digraph");
    case TRowStatus::TooShort:
        return QStringLiteral("too-short");
    case TRowStatus::Unreadable:
        return QStringLiteral("unreadable");
    }
    return QString();
}

} // namespace

TResultRow MakeResultRow(const TWideStringHolder &entry) {
    const engine::TVerdict &v = entry.details;
    TResultRow row;
    row.status = StatusOf(entry);
    row.statusText = row.status == TRowStatus::Unreadable ? QStringLiteral("unreadable")
                     : row.status == TRowStatus::TooShort ? QStringLiteral("too-short")
                                                          : QStringLiteral("suspect");
    // A verdict of the default checks has no code: its test names it.
    row.code =
        v.code.isEmpty() || row.status == TRowStatus::Unreadable ? TestName(row.status) : v.code;
    row.set = v.set;
    row.score = v.score;
    row.cut = v.cut;
    row.offset = v.offset;
    row.reason = v.reason;
    return row;
}

QString StatusName(TRowStatus status) {
    switch (status) {
    case TRowStatus::TooShort:
        return QStringLiteral("too short");
    default:
        return TestName(status);
    }
}

} // namespace app
