// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphCounter.h"
#include "DigraphProfile.h"
#include "DigraphTree.h"
#include "TextTables.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <array>
#include <map>

using namespace engine;

namespace {

// The plain rule, one position at a time, on an upper-cased text.
std::map<uint32_t, int64_t> PlainCounts(const QString &upper) {
    std::map<uint32_t, int64_t> m;
    for (qsizetype i = 0; i + 1 < upper.size(); ++i) {
        const QChar a = upper.at(i), b = upper.at(i + 1);
        if (IsLetterUnit(a.unicode()) && (b == QLatin1Char(' ') || IsLetterUnit(b.unicode())))
            ++m[DigraphKey(a.unicode(), b.unicode())];
    }
    return m;
}

std::map<uint32_t, int64_t> AsMap(const TPairCounts &c) {
    std::map<uint32_t, int64_t> m;
    for (uint32_t k : c.Order())
        m[k] = c.CountOf(k);
    return m;
}

QString Upper(const QString &s) {
    QString u = s;
    for (QChar &c : u)
        c = QChar(Tables().upper[c.unicode()]);
    return u;
}

QString KeysOf(const TPairCounts &c) {
    QString s;
    for (uint32_t k : c.Order())
        s += QChar(char16_t(k >> 16)) + QString(QChar(char16_t(k & 0xFFFF))) + QLatin1Char('|');
    return s;
}

} // namespace

TEST(DigraphCounter, WhichPositionsStartADigraph) {
    struct Case {
        QString text;
        QString digraphs; // in order of first occurrence
    } cases[] = {
        {QStringLiteral("THE CAT"), QStringLiteral("TH|HE|E |CA|AT|")},
        {QStringLiteral("A  B"), QStringLiteral("A |")},
        {QStringLiteral("A1B"), QString()},
        {QStringLiteral("A-B"), QString()},
        {QStringLiteral("A\r\n"), QString()},
        {QStringLiteral("the cat"), QStringLiteral("TH|HE|E |CA|AT|")}, // upper-cased first
        {QStringLiteral("12 34"), QString()},
    };
    for (const Case &c : cases) {
        TPairCounts counts;
        char16_t prev = 0;
        counts.AddUnits(reinterpret_cast<const char16_t *>(c.text.utf16()), size_t(c.text.size()),
                        prev);
        EXPECT_EQ(KeysOf(counts), c.digraphs) << c.text.toStdString();
    }
}

// The fast 8-bit table, the ordered counter and the plain rule agree on
// random Windows-1252 text, fed in uneven blocks.
TEST(DigraphCounter, FastAndOrderedPathsMatchThePlainRule) {
    QRandomGenerator rng(7);
    for (int round = 0; round < 30; ++round) {
        QByteArray bytes(rng.bounded(1, 20000), 0);
        for (char &b : bytes) {
            const int r = rng.bounded(10);
            b = char(r < 5   ? 'a' + rng.bounded(26)
                     : r < 7 ? ' '
                     : r < 8 ? 'A' + rng.bounded(3)
                             : 0x80 + rng.bounded(128));
        }
        QString text;
        for (char b : bytes)
            text += QChar(kCp1252[uchar(b)]);
        const auto plain = PlainCounts(Upper(text));

        TByteDigraphCounter fast;
        TPairCounts ordered;
        char16_t prev = 0;
        for (qsizetype at = 0; at < bytes.size();) {
            const qsizetype n = std::min<qsizetype>(rng.bounded(1, 5000), bytes.size() - at);
            fast.Feed(reinterpret_cast<const uint8_t *>(bytes.constData()) + at, size_t(n));
            ordered.AddBytes(reinterpret_cast<const uint8_t *>(bytes.constData()) + at, size_t(n),
                             prev);
            at += n;
        }
        EXPECT_EQ(AsMap(ordered), plain);
        EXPECT_EQ(fast.Distinct(), plain.size());
        TPairCounts fromFast;
        fast.FlushInto(fromFast);
        EXPECT_EQ(AsMap(fromFast), plain);
        EXPECT_EQ(fromFast.Total(), ordered.Total());
    }
}

TEST(DigraphCounter, ReusedCountersForgetEachText) {
    // A checker keeps one fast counter and one pair table for every file and
    // clears only what a text touched. Texts of very different alphabets in a
    // row, some dropped without a flush, some read mid-way, must each count as
    // if the counters were new.
    QRandomGenerator rng(11);
    TByteDigraphCounter fast;
    TPairCounts counts;
    for (int round = 0; round < 60; ++round) {
        // Alphabets from two letters to all 256 byte values; lengths from one
        // byte to a long text that grows the pair table.
        const int alphabet = rng.bounded(2, 257);
        const int length = round % 10 == 3 ? 200000 : rng.bounded(1, 3000);
        const int base = alphabet == 256 ? 0 : rng.bounded(0, 256 - alphabet);
        QByteArray bytes(length, 0);
        for (char &b : bytes)
            b = char(rng.bounded(4) == 0 ? ' ' : base + rng.bounded(alphabet));
        QString text;
        for (char b : bytes)
            text += QChar(kCp1252[uchar(b)]);
        const auto plain = PlainCounts(Upper(text));

        fast.Reset();
        counts.Clear();
        const qsizetype half = bytes.size() / 2;
        fast.Feed(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(half));
        (void)fast.Distinct(); // a look mid-way must not stick
        fast.Feed(reinterpret_cast<const uint8_t *>(bytes.constData()) + half,
                  size_t(bytes.size() - half));
        if (round % 7 == 5)
            continue; // dropped, as for a file that fails the size test
        EXPECT_EQ(fast.Distinct(), plain.size()) << round;
        fast.FlushInto(counts);
        EXPECT_EQ(AsMap(counts), plain) << round;
    }
}

// Counting distinct digraphs once each, in order of first occurrence, gives
// the profile (and the depth error) that offering every occurrence gives.
TEST(DigraphCounter, ProfileMatchesOccurrenceByOccurrenceTree) {
    QRandomGenerator rng(11);
    for (int round = 0; round < 6; ++round) {
        // Rounds 3+ use many letters, so the tree path is taken.
        const int letters = round < 3 ? 26 : 3000;
        QString text;
        for (int i = 0; i < 60000; ++i)
            text +=
                rng.bounded(6) == 0 ? QChar(' ') : QChar(char16_t(0x4E00 + rng.bounded(letters)));
        TPairCounts counts;
        char16_t prev = 0;
        counts.AddUnits(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()),
                        prev);

        TDigraphTree tree(3);
        bool treeRaised = false;
        for (qsizetype i = 0; i + 1 < text.size(); ++i)
            if (IsLetterUnit(text.at(i).unicode()) && text.at(i + 1) != QChar(0))
                if (text.at(i + 1) == QLatin1Char(' ') || IsLetterUnit(text.at(i + 1).unicode()))
                    tree.AddDigraph(text.at(i).unicode(), text.at(i + 1).unicode());
        try {
            tree.MakeProfileList();
        } catch (const ETreeError &) {
            treeRaised = true;
        }
        bool fastRaised = false;
        TDigraphProfile profile;
        try {
            profile = MakeProfile(counts, 3);
        } catch (const ETreeError &) {
            fastRaised = true;
        }
        ASSERT_EQ(fastRaised, treeRaised);
        if (treeRaised)
            continue;
        ASSERT_EQ(int(profile.entries.size()), tree.sorted_results->Count());
        for (int i = 0; i < tree.sorted_results->Count(); ++i) {
            const QString d = tree.sorted_results->Strings(i);
            EXPECT_EQ(profile.entries[size_t(i)].key,
                      DigraphKey(d.at(0).unicode(), d.at(1).unicode()));
            EXPECT_EQ(profile.entries[size_t(i)].count, tree.sorted_results->Objects(i));
        }
    }
}

TEST(DigraphCounter, LopsidedOrderRaisesTheTreeError) {
    // 2048 distinct digraphs first met in descending order: a left chain.
    TPairCounts counts;
    for (int i = 2047; i >= 0; --i)
        counts.Add(DigraphKey(char16_t(0x4E00 + i), u'A'), 20);
    EXPECT_THROW(MakeProfile(counts, 10), ETreeError);
    TPairCounts ascending;
    for (int i = 0; i < 2048; ++i)
        ascending.Add(DigraphKey(char16_t(0x4E00 + i), u'A'), 20);
    EXPECT_EQ(MakeProfile(ascending, 10).entries.size(), 2048u);
}

// The flat table for decoded units against the plain rule, fed in uneven
// blocks, on text with letters of several scripts, spaces and other units.
TEST(DigraphCounter, WideFastPathMatchesThePlainRule) {
    QRandomGenerator rng(23);
    TWideDigraphCounter wide; // reused across texts, as a checker does
    for (int round = 0; round < 30; ++round) {
        QString text;
        const int length = rng.bounded(1, 20000);
        for (int i = 0; i < length; ++i) {
            const int r = rng.bounded(10);
            text += r < 4   ? QChar(char16_t('a' + rng.bounded(26)))
                    : r < 6 ? QChar(' ')
                    : r < 8 ? QChar(char16_t(0x0391 + rng.bounded(40))) // Greek, both cases
                    : r < 9 ? QChar(char16_t(rng.bounded(0x20, 0xFFFF)))
                            : QChar(char16_t('0' + rng.bounded(10)));
        }
        const auto plain = PlainCounts(Upper(text));
        const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
        for (qsizetype at = 0; at < text.size();) {
            const qsizetype n = std::min<qsizetype>(rng.bounded(1, 3000), text.size() - at);
            wide.Feed(units + at, size_t(n));
            at += n;
        }
        if (wide.Overflowed()) {
            wide.Reset();
            continue;
        }
        EXPECT_EQ(wide.Distinct(), plain.size());
        TPairCounts counts;
        wide.FlushInto(counts);
        EXPECT_EQ(AsMap(counts), plain);
    }
    // More distinct letters than the table holds: the caller must count in order.
    QString many;
    for (int i = 0; i < 300; ++i)
        many += QChar(char16_t(0x4E00 + i)) + QStringLiteral("A");
    wide.Feed(reinterpret_cast<const char16_t *>(many.utf16()), size_t(many.size()));
    EXPECT_TRUE(wide.Overflowed());
    wide.Reset();
    EXPECT_FALSE(wide.Overflowed());
}

// The profile read straight off a fast counter's table is the profile of its
// counts, for both counters, reused across texts of any alphabet, and refuses
// (leaving the counter clean) a text whose order of first occurrence matters.
TEST(DigraphCounter, ProfileTakenFromTheTableEqualsTheProfileOfTheCounts) {
    QRandomGenerator rng(31);
    TByteDigraphCounter bytes;
    TWideDigraphCounter wide;
    for (int round = 0; round < 40; ++round) {
        const bool eightBit = round % 2 == 0;
        const int alphabet = rng.bounded(2, 257);
        const int length = round % 8 == 6 ? 100000 : rng.bounded(1, 8000);
        const int32_t minFreq = std::array{1, 3, 10}[size_t(round % 3)];
        QString text;
        QByteArray raw;
        // Every fourth 8-bit text is ASCII only: the counter reads just the
        // part of its table that ASCII can reach.
        const bool ascii = round % 8 == 0 || round % 8 == 4;
        for (int i = 0; i < length; ++i) {
            const int v = rng.bounded(5) == 0 ? ' '
                          : ascii             ? rng.bounded(0x20, 0x80)
                                              : rng.bounded(256 - alphabet, 256);
            raw += char(v);
            text += eightBit ? QChar(kCp1252[uchar(v)]) : QChar(char16_t(0x370 + v));
        }
        const auto plain = PlainCounts(Upper(text));
        TPairCounts counts;
        for (const auto &[key, n] : plain)
            counts.Add(key, n);

        TDigraphProfile taken;
        bool took;
        if (eightBit) {
            bytes.Feed(reinterpret_cast<const uint8_t *>(raw.constData()), size_t(raw.size()));
            took = TakeProfile(bytes, minFreq, taken);
        } else {
            wide.Feed(reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()));
            ASSERT_FALSE(wide.Overflowed());
            took = TakeProfile(wide, minFreq, taken);
        }
        ASSERT_EQ(took, !NeedsOrder(plain.size())) << round;
        if (took) {
            const TDigraphProfile made = MakeProfile(counts, minFreq);
            EXPECT_EQ(taken.digraphs, made.digraphs) << round;
            ASSERT_EQ(taken.entries.size(), made.entries.size()) << round;
            for (size_t i = 0; i < made.entries.size(); ++i) {
                EXPECT_EQ(taken.entries[i].key, made.entries[i].key) << round << " " << i;
                EXPECT_EQ(taken.entries[i].count, made.entries[i].count) << round << " " << i;
            }
        }
        // Either way the counter starts afresh.
        EXPECT_EQ(eightBit ? bytes.Distinct() : wide.Distinct(), 0u) << round;
    }
}

// The counters' 32-bit cells are folded into 64-bit totals before they can
// wrap. Made to fold every few pairs, at any point of a block, and with
// parts long enough to be counted in several lanes, both counters still give
// the plain counts through every way of reading them.
TEST(DigraphCounter, FoldedCountsMatchThePlainRule) {
    struct Restore {
        ~Restore() { SetFoldAfterForTesting(0); }
    } restore;
    QRandomGenerator rng(43);
    TByteDigraphCounter bytes; // reused, as a checker does
    TWideDigraphCounter wide;
    for (const uint64_t foldAfter : {1, 2, 7, 1000, 70000}) {
        SetFoldAfterForTesting(foldAfter);
        for (int round = 0; round < 12; ++round) {
            SCOPED_TRACE(testing::Message() << "fold after " << foldAfter << ", round " << round);
            const bool eightBit = round % 2 == 0;
            const int length = foldAfter >= 1000 ? rng.bounded(60000, 200000) : rng.bounded(1, 600);
            QByteArray raw;
            QString text;
            for (int i = 0; i < length; ++i) {
                const int r = rng.bounded(10);
                const int v = r < 5   ? 'a' + rng.bounded(26)
                              : r < 7 ? ' '
                              : r < 8 ? 'A' + rng.bounded(3)
                                      : rng.bounded(0xC0, 0xD0);
                raw += char(v);
                // Sixteen more letters: À-Ï, or Cyrillic а-п; too few for the
                // order of first occurrence to matter.
                text += eightBit ? QChar(kCp1252[v]) : QChar(char16_t(v < 0x80 ? v : 0x370 + v));
            }
            const auto plain = PlainCounts(Upper(text));
            const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
            for (qsizetype at = 0; at < length;) {
                const qsizetype n = std::min<qsizetype>(rng.bounded(1, 100000), length - at);
                if (eightBit)
                    bytes.Feed(reinterpret_cast<const uint8_t *>(raw.constData()) + at, size_t(n));
                else
                    wide.Feed(units + at, size_t(n));
                at += n;
            }
            ASSERT_FALSE(wide.Overflowed());
            EXPECT_EQ(eightBit ? bytes.Distinct() : wide.Distinct(), plain.size());
            if (round % 4 < 2) {
                TPairCounts counts;
                eightBit ? bytes.FlushInto(counts) : wide.FlushInto(counts);
                EXPECT_EQ(AsMap(counts), plain);
                continue;
            }
            TDigraphProfile taken;
            ASSERT_TRUE(eightBit ? TakeProfile(bytes, 3, taken) : TakeProfile(wide, 3, taken));
            TPairCounts counts;
            for (const auto &[key, n] : plain)
                counts.Add(key, n);
            const TDigraphProfile made = MakeProfile(counts, 3);
            EXPECT_EQ(taken.digraphs, made.digraphs);
            ASSERT_EQ(taken.entries.size(), made.entries.size());
            for (size_t i = 0; i < made.entries.size(); ++i) {
                EXPECT_EQ(taken.entries[i].key, made.entries[i].key) << i;
                EXPECT_EQ(taken.entries[i].count, made.entries[i].count) << i;
            }
        }
    }
}
