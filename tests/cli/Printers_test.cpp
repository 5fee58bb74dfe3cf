// SPDX-License-Identifier: GPL-3.0-or-later
// The extended run's lines, from verdicts made by hand: every field and
// column, and the default lines left as they were.
#include "FileList.h"
#include "FileNames.h"
#include "Printers.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

using engine::TCheckResult;

engine::TVerdict Verdict(engine::TSuspectTest test, const char *reason) {
    engine::TVerdict v;
    v.test = test;
    v.reason = QString::fromUtf8(reason);
    v.extended.emplace();
    return v;
}

engine::TVerdict Damaged() {
    engine::TVerdict v = Verdict(engine::TSuspectTest::Damage, "NUL at byte 4096");
    v.extended->damage = engine::TDamage{engine::TDamageCode::Nul, 4096, v.reason};
    return v;
}

engine::TVerdict TooShort() {
    engine::TVerdict v = Verdict(engine::TSuspectTest::Size, "Too short to judge");
    v.extended->digraphs = 42;
    return v;
}

engine::TVerdict DigraphSuspect() {
    engine::TVerdict v = Verdict(engine::TSuspectTest::Digraph, "Too many: TH(0.05)");
    v.too_many = QStringLiteral("TH(0.05)");
    v.fail_fraction = 0.25f;
    engine::TExtendedDetail &d = *v.extended;
    d.set = QStringLiteral("de");
    d.score = 0.125;
    d.cut = 0.0625;
    d.digraphs = 5000;
    d.too_many_pairs = {{QStringLiteral("TH"), 0.05f, 0.03125f}};
    d.too_few_pairs = {{QStringLiteral("\"Q"), 0.5f, 0.75f}};
    return v;
}

engine::TVerdict SizeSuspect() {
    engine::TVerdict v = Verdict(engine::TSuspectTest::Size, "File-size 13 but text-length 4");
    v.file_size = 13;
    v.text_length = 4;
    return v;
}

// The size test's verdict with the damage found beside it.
engine::TVerdict SizeWithDamage() {
    engine::TVerdict v = SizeSuspect();
    v.extended->damage = engine::TDamage{engine::TDamageCode::Nul, 4, "NUL at byte 4"};
    return v;
}

} // namespace

TEST(Printers, ExtendedJsonCarriesTheStructuredFields) {
    const struct {
        const char *what;
        engine::TVerdict verdict;
        TCheckResult result;
        QByteArray json;
    } cases[] = {
        {"damage with its offset", Damaged(), TCheckResult::Suspect,
         R"j({"path":"/c/a.txt","reason":"NUL at byte 4096","status":"suspect","test":"damage",)j"
         R"j("code":"nul","offset":4096})j"},
        {"too short, with its digraphs", TooShort(), TCheckResult::TooShort,
         R"j({"path":"/c/a.txt","reason":"Too short to judge","status":"too-short",)j"
         R"j("test":"too-short","code":"too-short","digraphs":42})j"},
        {"digraph suspect: the default fields, then set, score, cut and the pairs",
         DigraphSuspect(), TCheckResult::Suspect,
         R"j({"path":"/c/a.txt","reason":"Too many: TH(0.05)","status":"suspect",)j"
         R"j("test":"digraph","code":"digraph","fail_fraction":0.25,"too_many":"TH(0.05)",)j"
         R"j("too_few":"","set":"de","score":0.125,"cut":0.0625,"digraphs":5000,)j"
         R"j("too_many_pairs":[{"pair":"TH","file":0.05,"reference":0.03125}],)j"
         R"j("too_few_pairs":[{"pair":"\"Q","file":0.5,"reference":0.75}]})j"},
        {"size", SizeSuspect(), TCheckResult::Suspect,
         R"j({"path":"/c/a.txt","reason":"File-size 13 but text-length 4","status":"suspect",)j"
         R"j("test":"size","code":"size","file_size":13,"text_length":4})j"},
        {"size keeps its word, damage beside it", SizeWithDamage(), TCheckResult::Suspect,
         R"j({"path":"/c/a.txt","reason":"File-size 13 but text-length 4","status":"suspect",)j"
         R"j("test":"size","code":"size","offset":4,"file_size":13,"text_length":4,)j"
         R"j("damage":{"code":"nul","offset":4,"reason":"NUL at byte 4"}})j"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cli::JsonLine(QStringLiteral("/c/a.txt"), c.verdict, true, c.result),
                  c.json + '\n')
            << c.what;
}

TEST(Printers, ExtendedTsvAppendsColumnsAfterTheReason) {
    const struct {
        engine::TVerdict verdict;
        TCheckResult result;
        QByteArray tsv;
    } cases[] = {
        {Damaged(), TCheckResult::Suspect,
         "/c/a\\tb.txt\tNUL at byte 4096\tsuspect\tnul\t4096\t\t\t\t\n"},
        {TooShort(), TCheckResult::TooShort,
         "/c/a\\tb.txt\tToo short to judge\ttoo-short\ttoo-short\t\t\t\t\t\n"},
        {DigraphSuspect(), TCheckResult::Suspect,
         "/c/a\\tb.txt\tToo many: TH(0.05)\tsuspect\tdigraph\t\tde\t0.125\t\t\n"},
        {SizeSuspect(), TCheckResult::Suspect,
         "/c/a\\tb.txt\tFile-size 13 but text-length 4\tsuspect\tsize\t\t\t\t\t\n"},
        {SizeWithDamage(), TCheckResult::Suspect,
         "/c/a\\tb.txt\tFile-size 13 but text-length 4\tsuspect\tsize\t4\t\t\tnul\tNUL at "
         "byte 4\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cli::TsvLine(QStringLiteral("/c/a\tb.txt"), c.verdict, true, c.result), c.tsv);
}

TEST(Printers, DefaultLinesKeepTheirFields) {
    // Extended fields set on a verdict never leak into a default line.
    engine::TVerdict digraph = DigraphSuspect();
    digraph.fail_fraction = 0.1f; // "%.9g" of the float, as always
    EXPECT_EQ(cli::JsonLine(QStringLiteral("/c/a.txt"), digraph),
              R"j({"path":"/c/a.txt","reason":"Too many: TH(0.05)","test":"digraph",)j"
              R"j("fail_fraction":0.100000001,"too_many":"TH(0.05)","too_few":""})j"
              "\n");
    EXPECT_EQ(cli::TsvLine(QStringLiteral("/c/a.txt"), digraph), "/c/a.txt\tToo many: TH(0.05)\n");
    EXPECT_EQ(cli::JsonLine(QStringLiteral("/c/a.txt"), SizeSuspect()),
              R"j({"path":"/c/a.txt","reason":"File-size 13 but text-length 4","test":"size",)j"
              R"j("file_size":13,"text_length":4})j"
              "\n");
}

TEST(Printers, FiguresReadBackExactly) {
    const struct {
        double value;
        const char *text;
    } doubles[] = {
        {0.5, "0.5"}, {0.1, "0.1"}, {1.0 / 3, "0.3333333333333333"}, {0, "0"}, {2.5e-7, "2.5e-07"}};
    for (const auto &d : doubles)
        EXPECT_EQ(cli::Figure(d.value), QByteArray(d.text));
    EXPECT_EQ(cli::Figure(0.05f), QByteArray("0.05"));
}

// --list writes exact bytes, to be read back with --files-from; only to a
// terminal are control characters written "\xHH", so that a name cannot
// drive it.
TEST(FileList, ControlCharactersReachATerminalEscapedAndAPipeExactly) {
    const QString name = suite::DecodeFileName("/d/\x1b]0;t\x07 \xFF.txt");
    for (const bool terminal : {false, true}) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        {
            engine::TListSource source({name});
            cli::TLineWriter out(fds[1]);
            EXPECT_TRUE(cli::WriteFileList(source, out, false, terminal, [](const QString &) {}));
        }
        ::close(fds[1]);
        char buffer[256];
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        ::close(fds[0]);
        EXPECT_EQ(QByteArray(buffer, int(n)), terminal ? QByteArray("/d/\\x1b]0;t\\x07 \xFF.txt\n")
                                                       : QByteArray("/d/\x1b]0;t\x07 \xFF.txt\n"));
    }
}
