// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileNames.h"

#include <gtest/gtest.h>

#include <random>

using suite::DecodeFileName;
using suite::DisplayFileName;
using suite::EncodeFileName;

namespace {

QString Units(std::initializer_list<char16_t> units) {
    QString s;
    for (char16_t u : units)
        s.append(QChar(u));
    return s;
}

} // namespace

TEST(FileNames, DecodesUtf8AndEscapesEveryOtherByte) {
    struct Case {
        const char *what;
        QByteArray bytes;
        QString decoded;
    } cases[] = {
        // Valid UTF-8 decodes as usual.
        {"ascii", "plain.txt", QStringLiteral("plain.txt")},
        {"two-byte", "caf\xC3\xA9", QStringLiteral("caf\u00E9")},
        {"three-byte", "\xE2\x82\xAC", QStringLiteral("\u20AC")},
        {"four-byte", "\xF0\x9F\x98\x80", Units({0xD83D, 0xDE00})},
        // A supplementary character whose low half looks like an escape.
        {"U+10080", "\xF0\x90\x82\x80", Units({0xD800, 0xDC80})},
        // Everything else: one escape per byte.
        {"latin-1", "bad\xFFname", QStringLiteral("bad") + Units({0xDCFF}) + "name"},
        {"latin-1 e-acute", "caf\xE9", QStringLiteral("caf") + Units({0xDCE9})},
        {"overlong slash", "\xC0\xAF", Units({0xDCC0, 0xDCAF})},
        {"encoded surrogate", "\xED\xA0\x80", Units({0xDCED, 0xDCA0, 0xDC80})},
        {"cut sequence", "\xE2\x82", Units({0xDCE2, 0xDC82})},
        {"past U+10FFFF", "\xF4\x90\x80\x80", Units({0xDCF4, 0xDC90, 0xDC80, 0xDC80})},
        {"escape after supplementary", "\xF0\x90\x82\x80\x80", Units({0xD800, 0xDC80, 0xDC80})},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DecodeFileName(c.bytes), c.decoded) << c.what;
        EXPECT_EQ(EncodeFileName(c.decoded), c.bytes) << c.what;
    }
}

TEST(FileNames, EveryByteStringSurvivesTheRoundTrip) {
    std::mt19937 rng(7);
    // Bytes weighted towards UTF-8 lead and continuation bytes, so that valid,
    // cut and overlong sequences all turn up.
    const std::vector<uint8_t> alphabet = {'a',  '/',  0x80, 0x8F, 0x90, 0xA0, 0xBF, 0xC0, 0xC2,
                                           0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (int round = 0; round < 20000; ++round) {
        QByteArray b;
        const int n = int(rng() % 12);
        for (int i = 0; i < n; ++i)
            b.append(
                char(rng() % 3 == 0 ? uint8_t(rng() % 256) : alphabet[rng() % alphabet.size()]));
        if (b.contains('\0'))
            continue;
        const QString name = DecodeFileName(b);
        ASSERT_EQ(EncodeFileName(name), b) << b.toHex().toStdString();
        // Valid UTF-8 decodes exactly as Qt decodes it.
        if (QString::fromUtf8(b).toUtf8() == b) {
            ASSERT_EQ(name, QString::fromUtf8(b)) << b.toHex().toStdString();
        }
    }
}

TEST(FileNames, DisplayReplacesOnlyLoneSurrogates) {
    EXPECT_EQ(DisplayFileName(DecodeFileName("bad\xFF\xFEname")),
              QStringLiteral("bad\uFFFD\uFFFDname"));
    const QString smile = DecodeFileName("\xF0\x9F\x98\x80.txt");
    EXPECT_EQ(DisplayFileName(smile), smile);
    // A lone surrogate that decoding never makes is written as U+FFFD.
    EXPECT_EQ(EncodeFileName(Units({0xD800})), QByteArray("\xEF\xBF\xBD"));
}
