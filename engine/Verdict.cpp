// SPDX-License-Identifier: GPL-3.0-or-later
#include "Verdict.h"

namespace engine {

QLatin1StringView TestName(TSuspectTest test) {
    switch (test) {
    case TSuspectTest::Size:
        return QLatin1StringView("size");
    case TSuspectTest::Digraph:
        return QLatin1StringView("digraph");
    case TSuspectTest::Damage:
        return QLatin1StringView("damage");
    }
    return QLatin1StringView("size");
}

QString VerdictCode(const TVerdict &verdict, bool tooShort) {
    if (tooShort)
        return QStringLiteral("too-short");
    if (verdict.test == TSuspectTest::Damage && verdict.extended && verdict.extended->damage)
        return QString(DamageCodeName(verdict.extended->damage->code));
    return QString(TestName(verdict.test));
}

int64_t DamageOffset(const TVerdict &verdict) {
    return verdict.extended && verdict.extended->damage ? verdict.extended->damage->offset : -1;
}

} // namespace engine
