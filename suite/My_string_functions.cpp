// SPDX-License-Identifier: GPL-3.0-or-later
#include "My_string_functions.h"

namespace suite {

QString PwdToNumStr(const QString &s) {
    QString out;
    out.reserve(s.size() * 5);
    for (QChar c : s)
        out += QString::number(c.unicode()).rightJustified(5, QLatin1Char('0'));
    return out;
}

QString FromNumStr(const QString &s) {
    if (s.size() % 5 != 0)
        return {};
    QString out;
    out.reserve(s.size() / 5);
    for (qsizetype i = 0; i < s.size(); i += 5) {
        unsigned v = 0;
        for (qsizetype k = i; k < i + 5; ++k) {
            const QChar c = s.at(k);
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return {};
            v = v * 10 + unsigned(c.unicode() - '0');
        }
        if (v > 0xFFFF)
            return {};
        out += QChar(char16_t(v));
    }
    return out;
}

} // namespace suite
