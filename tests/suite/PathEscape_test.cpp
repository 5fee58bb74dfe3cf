// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathEscape.h"

#include "FileNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

TEST(PathEscape, TsvEscapesOnlyWhatWouldBreakALine) {
    struct Case {
        QByteArray name; // the bytes on disk
        QByteArray tsv;
    } cases[] = {
        // Written as they are.
        {"/data/plain.txt", "/data/plain.txt"},
        {"/data/Grüße aus Köln.txt", "/data/Grüße aus Köln.txt"},
        {"/data/\xF0\x9F\x98\x80 \"quoted\" $x.txt", "/data/\xF0\x9F\x98\x80 \"quoted\" $x.txt"},
        // The four that break a TSV line, and the escape character itself.
        {"a\tb", "a\\tb"},
        {"a\nb\r", "a\\nb\\r"},
        {"C:\\dos\\name", "C:\\\\dos\\\\name"},
        {"\\x41", "\\\\x41"},
        // Every other control character, the terminal's ESC among them.
        {"a\x1b[31mred", "a\\x1b[31mred"},
        {"\x01\x7f\x1f", "\\x01\\x7f\\x1f"},
        // Bytes that are not UTF-8: Latin-1, a cut sequence, an overlong form,
        // a UTF-8 surrogate.
        {"caf\xE9.txt", "caf\\xe9.txt"},
        {"cut\xE2\x82", "cut\\xe2\\x82"},
        {"\xC0\xAF", "\\xc0\\xaf"},
        {"\xED\xB2\x80", "\\xed\\xb2\\x80"},
        {"\xF0\x9F\x98\x80\xFF", "\xF0\x9F\x98\x80\\xff"},
    };
    for (const Case &k : cases) {
        const QString name = suite::DecodeFileName(k.name);
        EXPECT_EQ(suite::TsvPath(name), k.tsv) << k.name.toStdString();
        EXPECT_EQ(suite::UnescapeTsvPath(suite::TsvPath(name)), k.name) << k.name.toStdString();
    }
}

TEST(PathEscape, TsvGivesBackTheExactBytesOfAnyName) {
    std::mt19937 rng(9);
    const char pool[] = {'a',        '\\',       '\t',       '\n',       '\r',       '\x1b',
                         'x',        '/',        char(0xC3), char(0xA9), char(0xE2), char(0x82),
                         char(0xAC), char(0xF0), char(0x9F), char(0xFF)};
    for (int round = 0; round < 2000; ++round) {
        QByteArray name;
        for (int n = 1 + int(rng() % 12); n > 0; --n)
            name += pool[rng() % sizeof pool];
        const QByteArray tsv = suite::TsvPath(suite::DecodeFileName(name));
        EXPECT_FALSE(std::any_of(tsv.begin(), tsv.end(), [](char c) { return uchar(c) < 0x20; }));
        EXPECT_TRUE(QString::fromUtf8(tsv).toUtf8() == tsv) << "not UTF-8";
        EXPECT_EQ(suite::UnescapeTsvPath(tsv), name);
    }
}

// Reasons and set names go through the same escapes: no value can add a
// column or a line, however it was made.
TEST(PathEscape, TextColumnsAreEscapedAsNamesAre) {
    EXPECT_EQ(suite::TsvText(QStringLiteral("Too many: A\t\nB")), "Too many: A\\t\\nB");
    EXPECT_EQ(suite::TsvText(QStringLiteral("set\x1b]0;title\x07")), "set\\x1b]0;title\\x07");
    EXPECT_EQ(suite::TsvText(QStringLiteral("Fran\u00E7ais")), "Fran\xC3\xA7"
                                                               "ais");
}
