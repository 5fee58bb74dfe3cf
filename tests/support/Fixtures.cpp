// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fixtures.h"

#include "TempDir.h"

#include <QString>

QByteArray GoodText(int repeats) {
    QByteArray s;
    for (int i = 0; i < repeats; ++i)
        s += "The quick brown fox jumps over the lazy dog and then the cat sat on the mat.\r\n";
    return s;
}

QByteArray CutText() {
    return QByteArray("Some words\0\0\0\0\0\0\0\0\0\0 and junk after", 35);
}

QByteArray OddDigraphText() {
    QByteArray s;
    for (int i = 0; i < 30; ++i)
        s += "XQ ";
    return s + "\r\n";
}

QByteArray LopsidedText() {
    QString t;
    for (int i = 2047; i >= 0; --i) {
        t += QChar(char16_t(0x4E00 + i));
        t += QLatin1Char(' ');
    }
    t += QStringLiteral("\r\n");
    return Utf16LeWithMark(t);
}
