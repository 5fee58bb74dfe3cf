// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphProfile.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>
#include <vector>

using namespace engine;

namespace {

uint32_t Key(const char *d) {
    return DigraphKey(char16_t(d[0]), char16_t(d[1]));
}

// `n` distinct keys, each with `count`.
TDigraphProfile Uniform(int n, int64_t count, int64_t total, int skipFirst = 0) {
    TDigraphProfile p;
    for (int i = skipFirst; i < n; ++i)
        p.entries.push_back({DigraphKey(char16_t(0x100 + i), u'A'), count});
    p.digraphs = total;
    return p;
}

} // namespace

TEST(DigraphProfile, FormatsTwoDecimalsWithHalvesUp) {
    struct Case {
        float value;
        const char *text;
    } cases[] = {
        {0.125f, "0.13"}, {0.375f, "0.38"},
        {0.115f, "0.12"}, {0.145f, "0.14"},
        {1.0f, "1.00"},   {0.005f, "0.00"},
        {0.0f, "0.00"},   {0.995f, "1.00"} /* just above 0.995 */,
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatFrequency(c.value, QLatin1Char('.')), QString::fromLatin1(c.text))
            << c.value;
    EXPECT_EQ(FormatFrequency(0.125f, QLatin1Char(',')), QStringLiteral("0,13"));
}

// Allowance ties are decided by the single-precision fraction.
TEST(DigraphProfile, AllowanceTies) {
    struct Case {
        int failures, entries, percent;
        bool fails;
    } cases[] = {
        {2, 20, 10, true},  // float 0.1 lies above one tenth
        {7, 10, 70, false}, // float 0.7 lies below
        {1, 4, 25, false},  // exact
        {2, 4, 25, true},   {0, 4, 0, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.failures << " of " << c.entries << " at " << c.percent);
        // The file's profile is walked (the reference is larger); its first
        // `failures` digraphs are missing from the reference.
        const TDigraphProfile sample = Uniform(c.entries, 10, 10 * c.entries);
        const TDigraphProfile ref = Uniform(c.entries, 100, 100 * c.entries, c.failures);
        const TDigraphComparison r = CompareProfiles(sample, ref, 15, c.percent, QLatin1Char('.'));
        EXPECT_EQ(r.failures, c.failures);
        EXPECT_EQ(r.fails, c.fails);
    }
}

TEST(DigraphProfile, FailureTextsAndTheWalkedProfile) {
    TDigraphProfile ref;
    ref.entries = {{Key("ER"), 200}, {Key("TH"), 500}};
    ref.digraphs = 1000; // ER 0.2, TH 0.5
    TDigraphProfile sample;
    sample.entries = {{Key("ER"), 10}, {Key("QX"), 10}, {Key("TH"), 60}};
    sample.digraphs = 80; // ER 0.125, QX 0.125, TH 0.75

    // The reference is larger: the file is walked.
    TDigraphComparison r = CompareProfiles(sample, ref, 15, 10, QLatin1Char('.'));
    EXPECT_EQ(r.too_many, QStringLiteral(" QX(0.75) TH"));
    EXPECT_EQ(r.too_few, QStringLiteral("(0.13) ER"));
    EXPECT_EQ(r.failures, 3);
    EXPECT_FLOAT_EQ(r.fail_fraction, 1.0f);
    EXPECT_TRUE(r.fails);

    // Equal totals walk the reference: a digraph the file lacks is "too many",
    // and failures are divided by the file's entry count.
    sample.digraphs = 1000;
    sample.entries = {{Key("TH"), 500}};
    r = CompareProfiles(sample, ref, 15, 10, QLatin1Char('.'));
    EXPECT_EQ(r.too_many, QStringLiteral(" ER"));
    EXPECT_TRUE(r.too_few.isEmpty());
    EXPECT_FLOAT_EQ(r.fail_fraction, 1.0f);

    // A difference exactly at the tolerance passes; 1000 per mille passes all found.
    ref.entries = {{Key("TH"), 1}};
    ref.digraphs = 4; // 0.25
    sample.entries = {{Key("TH"), 1}};
    sample.digraphs = 2; // 0.5, 250 per mille away
    EXPECT_EQ(CompareProfiles(sample, ref, 250, 0, QLatin1Char('.')).failures, 0);
    EXPECT_EQ(CompareProfiles(sample, ref, 249, 0, QLatin1Char('.')).failures, 1);
    EXPECT_EQ(CompareProfiles(sample, ref, 1000, 0, QLatin1Char('.')).failures, 0);
}

TEST(DigraphProfile, EmptyProfiles) {
    TDigraphProfile emptyList;
    emptyList.digraphs = 5; // digraphs counted, none often enough
    const TDigraphProfile sample = Uniform(3, 10, 30);
    // An empty file profile passes with fraction 0.
    TDigraphComparison r = CompareProfiles(emptyList, sample, 15, 10, QLatin1Char('.'));
    EXPECT_FALSE(r.fails);
    EXPECT_EQ(r.fail_fraction, 0.0f);
    // An empty reference list: a smaller file fails with every entry.
    TDigraphProfile bigEmptyRef;
    bigEmptyRef.digraphs = 1000;
    r = CompareProfiles(sample, bigEmptyRef, 15, 10, QLatin1Char('.'));
    EXPECT_EQ(r.failures, 3);
    EXPECT_TRUE(r.fails);
    EXPECT_FALSE(CompareProfiles(sample, bigEmptyRef, 15, 100, QLatin1Char('.')).fails);
    // ... and a larger file passes with fraction 0.
    EXPECT_FALSE(CompareProfiles(sample, emptyList, 15, 10, QLatin1Char('.')).fails);
}

// The narrower divisions taken where the operands allow give the float of the
// 64-bit-mantissa quotient: at the edges of each format and on random pairs.
TEST(DigraphProfile, SingleQuotientIsTheExtendedQuotientRounded) {
    const auto extended = [](int64_t a, int64_t b) {
        return static_cast<float>(static_cast<long double>(a) / static_cast<long double>(b));
    };
    std::vector<int64_t> edges = {0, 1, 2, 3, 7, 10, 1000};
    for (const int bits : {24, 53, 62})
        for (const int64_t d : {-2, -1, 0, 1, 2})
            edges.push_back((int64_t(1) << bits) + d);
    for (const int64_t a : edges) {
        for (const int64_t b : edges) {
            if (b > 0) {
                EXPECT_EQ(SingleQuotient(a, b), extended(a, b)) << a << " / " << b;
            }
        }
    }
    std::mt19937_64 rng(5);
    for (int i = 0; i < 300000; ++i) {
        const int64_t b = int64_t(rng() >> (1 + rng() % 62)) + 1;
        const int64_t a = int64_t(rng() % uint64_t(b + 1));
        ASSERT_EQ(SingleQuotient(a, b), extended(a, b)) << a << " / " << b;
    }
}

// The narrow difference decides as the wide one does, across the edge of
// the narrow range and on random frequencies and tolerances.
TEST(DigraphProfile, FrequenciesDifferAsInTheExtendedWidth) {
    const auto extended = [](float a, float b, float t) {
        return std::fabs(static_cast<long double>(a) - static_cast<long double>(b)) >
               static_cast<long double>(t);
    };
    const std::vector<float> edges = {
        0.0f,   0x1p-40f, std::nextafter(0x1p-29f, 0.0f), 0x1p-29f, 0x1p-24f,
        0.015f, 0.5f,     std::nextafter(1.0f, 0.0f),     1.0f};
    for (const float a : edges) {
        for (const float b : edges) {
            for (const float t : {0.0f, 0x1p-29f, 0.015f, 0.5f}) {
                EXPECT_EQ(FrequenciesDiffer(a, b, t), extended(a, b, t))
                    << a << " " << b << " " << t;
                // Right at the tolerance: the difference itself.
                const float d = float(std::fabs(double(a) - double(b)));
                EXPECT_EQ(FrequenciesDiffer(a, b, d), extended(a, b, d)) << a << " " << b;
            }
        }
    }
    std::mt19937_64 rng(9);
    for (int i = 0; i < 300000; ++i) {
        const int64_t total = int64_t(rng() % (uint64_t(1) << (1 + rng() % 40))) + 1;
        const float a = SingleQuotient(int64_t(rng() % uint64_t(total)) + 1, total);
        const float b = SingleQuotient(int64_t(rng() % uint64_t(total)) + 1, total);
        const float t = SingleQuotient(int64_t(rng() % 1001), 1000);
        ASSERT_EQ(FrequenciesDiffer(a, b, t), extended(a, b, t)) << a << " " << b << " " << t;
    }
}

// A check that keeps texts only for failing files: the same verdict and
// figures; the same texts when the file fails, none when it passes.
TEST(DigraphProfile, TextsOnlyWhenFailingKeepTheVerdictAndTheFigures) {
    TDigraphProfile ref;
    ref.entries = {{Key("ER"), 200}, {Key("TH"), 500}};
    ref.digraphs = 1000;
    TDigraphProfile sample;
    sample.entries = {{Key("ER"), 10}, {Key("QX"), 10}, {Key("TH"), 60}};
    sample.digraphs = 80;
    for (const int percent : {10, 100}) {
        const TDigraphComparison full = CompareProfiles(sample, ref, 15, percent, QLatin1Char(','));
        const TDigraphComparison lean =
            CompareProfiles(sample, ref, 15, percent, QLatin1Char(','), true);
        EXPECT_EQ(lean.fails, full.fails);
        EXPECT_EQ(lean.failures, full.failures);
        EXPECT_EQ(lean.fail_fraction, full.fail_fraction);
        EXPECT_EQ(lean.too_many, full.fails ? full.too_many : QString());
        EXPECT_EQ(lean.too_few, full.fails ? full.too_few : QString());
    }
}

// Counting the failures alone takes a quicker way when both totals fit a
// float; it must count what the way that writes the texts counts, also for
// totals past 2^24 and for counts no text gives (above the total, or none).
TEST(DigraphProfile, CountingAloneAgreesWithWritingTheTexts) {
    QRandomGenerator rng(9);
    const auto profile = [&](int64_t total) {
        TDigraphProfile p;
        p.digraphs = total;
        for (uint32_t key = DigraphKey(u'A', u' '); key < DigraphKey(u'A', u'Z'); ++key)
            if (rng.bounded(3) == 0)
                p.entries.push_back({key, rng.bounded(8) == 0 ? int64_t(rng.bounded(0, 3))
                                                              : 1 + int64_t(rng.generateDouble() *
                                                                            double(total) * 1.1)});
        return p;
    };
    for (int round = 0; round < 200; ++round) {
        const int64_t totals[] = {int64_t(1) << 30, (int64_t(1) << 24) + round % 2, 5000, 40};
        const TDigraphProfile a = profile(totals[round % 4]), b = profile(totals[(round / 4) % 4]);
        for (const int32_t perMille : {0, 15, 300}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", " << perMille);
            const TDigraphComparison counted =
                CompareProfiles(a, b, perMille, 10, QLatin1Char('.'), true);
            const TDigraphComparison written =
                CompareProfiles(a, b, perMille, 10, QLatin1Char('.'), false);
            EXPECT_EQ(counted.failures, written.failures);
            EXPECT_EQ(counted.fail_fraction, written.fail_fraction);
            EXPECT_EQ(counted.fails, written.fails);
        }
    }
}

// The comparison finds the walked profile's keys in the other by walking
// both lists at once; a plain lookup of each key must give the same
// failures, for lists of like size and for a few keys against thousands.
TEST(DigraphProfile, FailuresMatchAPlainLookupOfEveryKey) {
    std::mt19937 rng(17);
    const auto profile = [&](int n, uint32_t span) {
        std::map<uint32_t, int64_t> keys;
        while (int(keys.size()) < n)
            keys[DigraphKey(u'A', char16_t(0x20 + rng() % span))] = 1 + rng() % 50;
        TDigraphProfile p;
        for (const auto &[key, count] : keys) {
            p.entries.push_back({key, count});
            p.digraphs += count;
        }
        return p;
    };
    for (const auto &[small, large] :
         {std::pair{1, 1}, {3, 3000}, {40, 3000}, {300, 600}, {500, 500}}) {
        for (int round = 0; round < 20; ++round) {
            const TDigraphProfile sample = profile(small, 4000), ref = profile(large, 4000);
            // The profile with fewer digraphs is walked, as CompareProfiles does.
            const bool walkSample = ref.digraphs > sample.digraphs;
            const TDigraphProfile &walked = walkSample ? sample : ref;
            const TDigraphProfile &other = walkSample ? ref : sample;
            std::map<uint32_t, int64_t> otherCounts;
            for (const TProfileEntry &e : other.entries)
                otherCounts[e.key] = e.count;
            int32_t expected = 0;
            for (const TProfileEntry &e : walked.entries) {
                const auto found = otherCounts.find(e.key);
                expected +=
                    found == otherCounts.end() ||
                    FrequenciesDiffer(SingleQuotient(e.count, walked.digraphs),
                                      SingleQuotient(found->second, other.digraphs), 0.015f);
            }
            SCOPED_TRACE(testing::Message()
                         << small << " against " << large << ", round " << round);
            EXPECT_EQ(CompareProfiles(sample, ref, 15, 10, QLatin1Char('.')).failures, expected);
        }
    }
}
