// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResultRow.h"

#include "SuspectLine.h"
#include "file_crap_detector.h"

namespace app {

namespace {

TRowStatus StatusOf(const TWideStringHolder &entry) {
    if (entry.unreadable)
        return TRowStatus::Unreadable;
    if (entry.TooShort())
        return TRowStatus::TooShort;
    switch (entry.details.test) {
    case engine::TSuspectTest::Size:
        return TRowStatus::Size;
    case engine::TSuspectTest::Damage:
        return TRowStatus::Damage;
    case engine::TSuspectTest::Digraph:
        return TRowStatus::Digraph;
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
    row.reason = v.reason;
    if (row.status == TRowStatus::Unreadable) {
        row.statusText = row.code = TestName(row.status);
        return row;
    }
    row.statusText = QString(engine::StatusName(entry.result));
    row.code = engine::VerdictCode(v, entry.result);
    row.offset = engine::DamageOffset(v);
    if (v.extended) {
        row.set = v.extended->set;
        row.score = v.extended->score;
        row.cut = v.extended->cut;
    }
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
