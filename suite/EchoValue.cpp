// SPDX-License-Identifier: GPL-3.0-or-later
#include "EchoValue.h"

namespace suite {

namespace {

QString EscapeControls(const QString &text, bool keepLineFeed) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && !(keepLineFeed && u == u'\n')) || u == 0x7F)
            out += QStringLiteral("\\x%1").arg(unsigned(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

} // namespace

QString EchoValue(const QString &value) {
    if (value.size() <= kEchoChars)
        return EscapeControls(value, false);
    qsizetype keep = kEchoChars - 20;
    // Never half of a surrogate pair.
    if (value.at(keep - 1).isHighSurrogate())
        --keep;
    return EscapeControls(value.left(keep), false) +
           QStringLiteral("\u2026 (%1 characters)").arg(value.size());
}

QString TerminalText(const QString &text) {
    return EscapeControls(text, true);
}

} // namespace suite
