// SPDX-License-Identifier: GPL-3.0-or-later
#include "EchoValue.h"

#include <gtest/gtest.h>

TEST(EchoValue, ControlsAreEscapedAndLongValuesCut) {
    struct Case {
        QString value;
        QString echo;
    } cases[] = {
        {QStringLiteral("de"), QStringLiteral("de")},
        {QStringLiteral("two\nlines"), QStringLiteral("two\\x0alines")},
        {QStringLiteral("\x1b[2J\tx\x7f"), QStringLiteral("\\x1b[2J\\x09x\\x7f")},
        {QString(suite::kEchoChars, QLatin1Char('a')),
         QString(suite::kEchoChars, QLatin1Char('a'))},
        {QString(131072, QLatin1Char('n')), QString(suite::kEchoChars - 20, QLatin1Char('n')) +
                                                QStringLiteral("\u2026 (131072 characters)")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(suite::EchoValue(c.value), c.echo) << c.value.left(20).toStdString();
}

TEST(EchoValue, ACutNeverSplitsASurrogatePair) {
    const QString emoji = QStringLiteral("\U0001F600");
    QString value = QString(suite::kEchoChars - 21, QLatin1Char('a')) + emoji.repeated(50);
    const QString echo = suite::EchoValue(value);
    EXPECT_TRUE(
        echo.startsWith(QString(suite::kEchoChars - 21, QLatin1Char('a')) + QChar(u'\u2026')))
        << echo.toStdString();
}

TEST(EchoValue, TerminalTextKeepsLineBreaksOnly) {
    EXPECT_EQ(suite::TerminalText(QStringLiteral("a\nb\x1b[0m\r")),
              QStringLiteral("a\nb\\x1b[0m\\x0d"));
}
