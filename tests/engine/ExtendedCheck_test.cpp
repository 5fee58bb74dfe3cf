// SPDX-License-Identifier: GPL-3.0-or-later
// The extended check of one file: which test speaks first, "too short to
// judge" at its minimum, and the digraph verdict against the closest set.

#include "DigraphScore.h"
#include "FileCheck.h"
#include "ReferenceSets.h"
#include "TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

using namespace engine;

namespace {

TDigraphProfile ProfileOf(const QByteArray &latin1, int32_t minFreq) {
    TPairCounts counts;
    char16_t prev = 0;
    counts.AddBytes(reinterpret_cast<const uint8_t *>(latin1.constData()), size_t(latin1.size()),
                    prev);
    return MakeProfile(counts, minFreq);
}

// `n` letter pairs exactly: "ABC " holds three (AB, BC, C and the space),
// "AB " two.
QByteArray Pairs(int n) {
    QByteArray s;
    for (; n % 3 != 0; n -= 2)
        s += "AB ";
    for (; n > 0; n -= 3)
        s += "ABC ";
    return s;
}

const QByteArray kEnglish =
    "When the evening came the old fisherman walked slowly down to the harbour, "
    "where the boats were resting against the wall and the water was still. He "
    "thought about the years he had spent on the sea, the storms that had nearly "
    "taken him and the quiet mornings when the nets came up heavy with silver fish.\r\n";
const QByteArray kFrench =
    "Quand le soir est venu, le vieux p\xEA"
    "cheur est descendu lentement vers le port, o\xF9 les bateaux se reposaient "
    "contre le mur et o\xF9 l'eau \xE9tait calme. Il pensait aux ann\xE9"
    "es pass\xE9"
    "es sur la mer, aux temp\xEA"
    "tes qui avaient failli l'emporter et aux matins tranquilles.\r\n";

QByteArray Times(const QByteArray &s, int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

struct TRun {
    TCheckResult result;
    TVerdict verdict;
};

TRun CheckExtended(const QString &path, std::shared_ptr<const TReferenceSets> sets,
                   bool thoroughly = true) {
    TCheckSettings settings;
    settings.extended = true;
    settings.thoroughly = thoroughly;
    settings.percent_fail_allowed = kDesignPercentFailAllowed;
    settings.sets = std::move(sets);
    TFileChecker checker;
    TRun run{TCheckResult::Missing, {}};
    run.result = checker.Check(path, settings, nullptr, {}, run.verdict);
    return run;
}

std::shared_ptr<const TReferenceSets> Sets() {
    auto sets = std::make_shared<TReferenceSets>();
    sets->push_back(MakeReferenceSet(QStringLiteral("en"), ProfileOf(Times(kEnglish, 20), 10)));
    sets->push_back(MakeReferenceSet(QStringLiteral("fr"), ProfileOf(Times(kFrench, 20), 10)));
    sets->push_back(MakeReferenceSet(QStringLiteral("abc"), ProfileOf(Pairs(30000), 10)));
    return sets;
}

} // namespace

TEST(ExtendedCheck, TooShortBelowTheMinimumJudgedAtIt) {
    TempDir dir;
    const auto sets = Sets();
    const int64_t least =
        MinDigraphsToJudge(kDefaultFreqVariationPerMille, kDesignPercentFailAllowed);
    ASSERT_EQ(least, 667);

    const TRun shortRun = CheckExtended(dir.write("short.txt", Pairs(666)), sets);
    EXPECT_EQ(shortRun.result, TCheckResult::TooShort);
    EXPECT_EQ(shortRun.verdict.test, TSuspectTest::TooShort);
    EXPECT_EQ(shortRun.verdict.code, QStringLiteral("too-short"));
    EXPECT_EQ(shortRun.verdict.digraphs, 666);
    EXPECT_EQ(shortRun.verdict.reason,
              QStringLiteral("Too short to judge: 666 letter pairs, 667 needed"));

    const TRun judged = CheckExtended(dir.write("judged.txt", Pairs(667)), sets);
    EXPECT_EQ(judged.result, TCheckResult::Passed);

    // Without the digraph check, or without sets, nothing is too short.
    EXPECT_EQ(CheckExtended(dir.file("short.txt"), sets, false).result, TCheckResult::Passed);
    EXPECT_EQ(CheckExtended(dir.file("short.txt"), nullptr).result, TCheckResult::Passed);
}

// Each test speaks only when the ones before it found nothing. (An 8-bit or
// UTF-16 text fails the size test only when cut at a NUL, which the damage
// test names first: the size test's verdict is reached by the default check.)
TEST(ExtendedCheck, DamageBeforeTooShortBeforeDigraph) {
    TempDir dir;
    const auto sets = Sets();
    const struct {
        const char *name;
        QByteArray bytes;
        TCheckResult result;
        TSuspectTest test;
        const char *code;
        int64_t offset;
    } cases[] = {
        // Cut short at a NUL, and too short as well: the damage, where it is.
        {"cut", QByteArray("Some words\0\0\0\0\0\0\0\0\0\0", 20), TCheckResult::Suspect,
         TSuspectTest::Damage, "nul", 10},
        // Whitespace only: damage, not too short.
        {"blank", "  \r\n\t\r\n", TCheckResult::Suspect, TSuspectTest::Damage, "empty", -1},
        // Odd pairs, but too few of them to judge.
        {"short odd", Times("XQ ", 100), TCheckResult::TooShort, TSuspectTest::TooShort,
         "too-short", -1},
        // The same odd pairs, enough of them.
        {"long odd", Times("XQ ZJ ", 400), TCheckResult::Suspect, TSuspectTest::Digraph, "digraph",
         -1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TRun run = CheckExtended(dir.write(QString::fromLatin1(c.name), c.bytes), sets);
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.verdict.test, c.test);
        EXPECT_EQ(run.verdict.code, QLatin1String(c.code));
        EXPECT_EQ(run.verdict.offset, c.offset);
    }
}

TEST(ExtendedCheck, GoodTextOfEachSetPassesAgainstItsClosestSet) {
    TempDir dir;
    const auto sets = Sets();
    for (const QByteArray &text : {Times(kEnglish, 6), Times(kFrench, 6), Pairs(3000)})
        EXPECT_EQ(CheckExtended(dir.write("good.txt", text), sets).result, TCheckResult::Passed)
            << text.left(40).toStdString();
}

QByteArray GoodText(const char *name) {
    QFile f(QStringLiteral(BRINDLE_GOOD_TEXTS "/") + QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

// An 8-bit text without a mark whose bytes are valid UTF-8 is judged as
// UTF-8: real texts in five languages, their sets made from the same texts
// in Windows-1252, pass in either form, read with the default encoding.
TEST(ExtendedCheck, ValidUtf8WithoutMarkIsJudgedAsUtf8) {
    TempDir dir;
    const char *languages[] = {"en", "de", "fr", "es", "it"};
    auto sets = std::make_shared<TReferenceSets>();
    for (const char *l : languages)
        sets->push_back(MakeReferenceSet(
            QLatin1String(l), ProfileOf(GoodText((std::string(l) + ".cp1252.txt").c_str()), 10)));
    for (const char *l : languages) {
        for (const char *form : {".cp1252.txt", ".utf8.txt"}) {
            const std::string name = std::string(l) + form;
            SCOPED_TRACE(name);
            const TRun run = CheckExtended(
                dir.write(QString::fromStdString(name), GoodText(name.c_str())), sets);
            EXPECT_EQ(run.result, TCheckResult::Passed) << run.verdict.reason.toStdString();
        }
    }
    // Where accents are many, the check stands or falls by it: the same
    // words in both forms pass, though read byte by byte every accent of
    // the UTF-8 form would be two other characters.
    const QString accented = QStringLiteral("L'élève a déjà été là où son père, sa "
                                            "mère et son frère préparaient la fête de la forêt. ");
    QString text;
    for (int i = 0; i < 12; ++i)
        text += accented;
    auto accentSets = std::make_shared<TReferenceSets>();
    accentSets->push_back(MakeReferenceSet(QStringLiteral("fr"), ProfileOf(text.toLatin1(), 10)));
    EXPECT_EQ(CheckExtended(dir.write("accented.txt", text.toUtf8()), accentSets).result,
              TCheckResult::Passed);
    const TDigraphProfile asBytes = ProfileOf(text.toUtf8(), 1);
    const TReferenceSet &fr = accentSets->front();
    EXPECT_GT(DigraphScore(asBytes, fr.profile, fr.kept), fr.cut.At(asBytes.digraphs));
}

// A digraph verdict names its set, scores the file over the cut, and
// explains itself with the failing pairs, most deviating first.
TEST(ExtendedCheck, DigraphVerdictNamesTheSetAndExplainsItself) {
    TempDir dir;
    auto sets = std::make_shared<TReferenceSets>();
    sets->push_back(MakeReferenceSet(QStringLiteral("en"), ProfileOf(Times(kEnglish, 20), 10)));
    // French judged against English alone: far from it.
    const TRun run = CheckExtended(dir.write("fr.txt", Times(kFrench, 6)), sets);
    ASSERT_EQ(run.result, TCheckResult::Suspect);
    const TVerdict &v = run.verdict;
    EXPECT_EQ(v.test, TSuspectTest::Digraph);
    EXPECT_EQ(v.code, QStringLiteral("digraph"));
    EXPECT_EQ(v.set, QStringLiteral("en"));
    EXPECT_GT(v.score, v.cut);
    EXPECT_GT(v.cut, 0.0);
    EXPECT_EQ(v.reason, DigraphReason(v.too_many, v.too_few));
    EXPECT_FALSE(v.too_many_pairs.empty());
    EXPECT_FALSE(v.too_few_pairs.empty());
    for (const auto *pairs : {&v.too_many_pairs, &v.too_few_pairs}) {
        EXPECT_LE(pairs->size(), 20u);
        for (size_t i = 0; i < pairs->size(); ++i) {
            const TPairDeviation &d = (*pairs)[i];
            EXPECT_EQ(d.file > d.reference, pairs == &v.too_many_pairs) << d.pair.toStdString();
            // Over the tolerance, or missing from one side.
            EXPECT_TRUE(std::fabs(d.file - d.reference) > 0.015f || d.reference == 0.0f ||
                        d.file == 0.0f);
            if (i > 0) {
                EXPECT_LE(std::fabs(d.file - d.reference),
                          std::fabs((*pairs)[i - 1].file - (*pairs)[i - 1].reference));
            }
        }
    }
    // A pair the English set lacks stands in the too-many text without a
    // number, and in the list with a reference frequency of 0.
    const auto missing = std::find_if(v.too_many_pairs.begin(), v.too_many_pairs.end(),
                                      [](const TPairDeviation &d) { return d.reference == 0.0f; });
    ASSERT_NE(missing, v.too_many_pairs.end());
    EXPECT_TRUE(v.too_many.contains(QLatin1Char(' ') + missing->pair));
}
