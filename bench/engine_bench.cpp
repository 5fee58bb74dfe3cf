// SPDX-License-Identifier: GPL-3.0-or-later
// Per-kernel throughput of the engine's inner loops, on generated text held
// in memory (no file reading). Run: build/bench/engine_bench
#include "DigraphCounter.h"
#include "DigraphProfile.h"
#include "DigraphScore.h"
#include "FeatureCounters.h"
#include "ReferenceSets.h"
#include "TextFile.h"
#include "TextMeasure.h"
#include "Utf8Decoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

// Word-like Windows-1252 text with CR LF lines, the same every run.
const std::vector<uint8_t> &Text() {
    static const std::vector<uint8_t> text = [] {
        std::mt19937 rng(5);
        const char *words[] = {"the",   "and",   "with",  "corpus", "für",  "été", "niño", "text",
                               "Zeile", "quick", "brown", "année",  "über", "of",  "to",   "lazy"};
        std::vector<uint8_t> out;
        while (out.size() < (8u << 20)) {
            const std::string w = words[rng() % 16];
            for (unsigned char c : w)
                out.push_back(c == 0xC3 ? 0xE9 : c); // keep it 8-bit
            out.push_back(rng() % 12 == 0 ? '\r' : ' ');
            if (out.back() == '\r')
                out.push_back('\n');
        }
        return out;
    }();
    return text;
}

// Counts the whole text `t` afresh each iteration.
template <class Counter, class Unit>
void CountWhole(benchmark::State &state, const std::vector<Unit> &t) {
    Counter c;
    for (auto _ : state) {
        c.Reset();
        c.Feed(t.data(), t.size());
        benchmark::DoNotOptimize(c.Distinct());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}

void BM_ByteCounter(benchmark::State &state) {
    CountWhole<engine::TByteDigraphCounter>(state, Text());
}
BENCHMARK(BM_ByteCounter);

// Text of long runs of one pair (digits, rules of '=', blank padding): each
// increment would wait on the last one to the same cell but for the lanes.
void BM_ByteCounterRuns(benchmark::State &state) {
    std::vector<uint8_t> t;
    const std::string pieces[] = {std::string(40, '7'), std::string(24, '='), std::string(32, ' '),
                                  "hello world "};
    for (size_t i = 0; t.size() < (8u << 20); ++i)
        t.insert(t.end(), pieces[i % 4].begin(), pieces[i % 4].end());
    CountWhole<engine::TByteDigraphCounter>(state, t);
}
BENCHMARK(BM_ByteCounterRuns);

void BM_WideCounter(benchmark::State &state) {
    const auto &t = Text();
    CountWhole<engine::TWideDigraphCounter>(state, std::vector<char16_t>(t.begin(), t.end()));
}
BENCHMARK(BM_WideCounter);

void BM_MeasureBytes(benchmark::State &state) {
    const auto &t = Text();
    for (auto _ : state) {
        engine::TextMeasure m;
        m.Feed(t.data(), t.size());
        benchmark::DoNotOptimize(m.Length());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}
BENCHMARK(BM_MeasureBytes);

void BM_Utf8DecodeAscii(benchmark::State &state) {
    const auto &t = Text();
    std::vector<uint8_t> ascii(t);
    for (auto &b : ascii)
        b &= 0x7F;
    std::vector<char16_t> out(ascii.size() + 1);
    for (auto _ : state) {
        engine::Utf8Decoder d;
        benchmark::DoNotOptimize(d.Decode(ascii.data(), ascii.size(), out.data()));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(ascii.size()));
}
BENCHMARK(BM_Utf8DecodeAscii);

// The digraph work on one small file, as a scan of many does it: count a
// text of 6.5 KiB, read its profile off the table and compare it with a
// reference profile made from 1 MiB of the same kind of text.
void BM_SmallFileDigraphs(benchmark::State &state) {
    const auto &t = Text();
    engine::TByteDigraphCounter c;
    engine::TPairCounts refCounts;
    char16_t prev = 0;
    refCounts.AddBytes(t.data(), 1u << 20, prev);
    const engine::TDigraphProfile ref = engine::MakeProfile(refCounts, 10);
    constexpr size_t kFile = 6656;
    size_t at = 0;
    engine::TDigraphProfile sample;
    for (auto _ : state) {
        at = (at + kFile) % (t.size() - kFile);
        c.Feed(t.data() + at, kFile);
        engine::TakeProfile(c, 10, sample);
        benchmark::DoNotOptimize(
            engine::CompareProfiles(sample, ref, 15, 10, QLatin1Char('.'), true).fails);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kFile));
}
BENCHMARK(BM_SmallFileDigraphs);

// The words of Text(), their accents written properly, in Windows-1252 or
// UTF-8.
QByteArray WordText(bool utf8) {
    std::mt19937 rng(5);
    const char *words[] = {"the",   "and",   "with",  "corpus", "für",  "été", "niño", "text",
                           "Zeile", "quick", "brown", "année",  "über", "of",  "to",   "lazy"};
    QString text;
    while (text.size() < (8 << 20)) {
        text += QString::fromUtf8(words[rng() % 16]);
        text += rng() % 12 == 0 ? QStringLiteral("\r\n") : QStringLiteral(" ");
    }
    return utf8 ? text.toUtf8() : text.toLatin1();
}

// The one pass's byte features, on 8-bit (0) and UTF-8 (1) text.
void BM_ByteScreen(benchmark::State &state) {
    const QByteArray t = WordText(state.range(0) != 0);
    const auto *p = reinterpret_cast<const uint8_t *>(t.constData());
    for (auto _ : state) {
        engine::TByteScreen c;
        c.Feed(p, size_t(t.size()));
        engine::TTextFeatures f;
        c.Finish(f, false);
        benchmark::DoNotOptimize(f.nonAscii);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}
BENCHMARK(BM_ByteScreen)->Arg(0)->Arg(1);

// The extended checks' per-byte kernels on the same text.
void BM_ByteFeatures(benchmark::State &state) {
    const auto &t = Text();
    for (auto _ : state) {
        engine::TByteFeatureCounter c;
        c.Feed(t.data(), t.size());
        engine::TTextFeatures f;
        c.Finish(f, false);
        benchmark::DoNotOptimize(f.nonAscii);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}
BENCHMARK(BM_ByteFeatures);

void BM_ByteShape(benchmark::State &state) {
    const auto &t = Text();
    for (auto _ : state) {
        engine::TShapeCounter<uint8_t> c;
        c.Feed(t.data(), t.size());
        engine::TTextFeatures f;
        c.Finish(f);
        benchmark::DoNotOptimize(f.tokens);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(t.size()));
}
BENCHMARK(BM_ByteShape);

// Measures files as a -d scan does, with the digraph counters, with or
// without the features; returns the file's size.
struct TMeasurer {
    engine::TTextFile file;
    engine::TByteDigraphCounter bytes;
    engine::TWideDigraphCounter wide;
    engine::TTextFeatures f;
    int64_t Measure(const QString &path, bool features) {
        if (!file.Open(path))
            return 0;
        bytes.Reset();
        wide.Reset();
        const engine::TFileMeasure m =
            file.Measure(engine::TDefaultEncoding::Windows1252, {&bytes, &wide, nullptr}, {},
                         features ? &f : nullptr);
        benchmark::DoNotOptimize(m.length);
        file.Close();
        return m.size;
    }
};

// TTextFile::Measure of a file in the page cache with the digraph counters,
// as a -d scan reads every file, without (0) and with (1) the extended
// checks' features. Arg 1: the file's text is UTF-8 (8-bit text otherwise).
void BM_MeasureFile(benchmark::State &state) {
    const bool features = state.range(0) != 0;
    const bool utf8 = state.range(1) != 0;
    const QString path = QDir::temp().filePath(QStringLiteral("brindle-engine-bench-%1-%2.txt")
                                                   .arg(QCoreApplication::applicationPid())
                                                   .arg(utf8));
    {
        const QByteArray bytes = WordText(utf8);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            state.SkipWithError("cannot write the bench file");
            return;
        }
    }
    TMeasurer measurer;
    int64_t size = 0;
    for (auto _ : state)
        size = measurer.Measure(path, features);
    QFile::remove(path);
    state.SetBytesProcessed(int64_t(state.iterations()) * size);
}
BENCHMARK(BM_MeasureFile)->ArgsProduct({{0, 1}, {0, 1}});

// The same over every file of a real corpus (BRINDLE_BENCH_CORPUS, a
// folder; skipped when unset): Measure of each file, with the digraph
// counters, without (0) and with (1) the features. A -d scan adds the
// profile comparison and the walk, so the share added to a whole scan is
// smaller than this one.
void BM_MeasureCorpus(benchmark::State &state) {
    const QString root = qEnvironmentVariable("BRINDLE_BENCH_CORPUS");
    if (root.isEmpty()) {
        state.SkipWithError("BRINDLE_BENCH_CORPUS not set");
        return;
    }
    static QStringList paths;
    if (paths.isEmpty()) {
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            paths << it.next();
        paths.sort();
    }
    const bool features = state.range(0) != 0;
    TMeasurer measurer;
    int64_t total = 0;
    for (auto _ : state) {
        total = 0;
        for (const QString &path : paths)
            total += measurer.Measure(path, features);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * total);
}
BENCHMARK(BM_MeasureCorpus)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

// A reference set's calibration, done once per set beside a run: the
// profile of the 8 MB text above.
engine::TDigraphProfile TextProfile(int32_t minFreq) {
    engine::TPairCounts counts;
    char16_t prev = 0;
    counts.AddBytes(Text().data(), Text().size(), prev);
    return engine::MakeProfile(counts, minFreq);
}

void BM_CalibrateSet(benchmark::State &state) {
    const engine::TDigraphProfile profile = TextProfile(10);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            engine::MakeReferenceSet(QStringLiteral("set"), profile).cut.Points());
}
BENCHMARK(BM_CalibrateSet)->Unit(benchmark::kMillisecond);

// One file's score against one set: a short text's pairs against the set.
void BM_ScoreAgainstSet(benchmark::State &state) {
    const engine::TDigraphProfile set = TextProfile(10);
    const int64_t kept = engine::KeptCount(set);
    engine::TPairCounts counts;
    char16_t prev = 0;
    counts.AddBytes(Text().data(), 4000, prev);
    const engine::TDigraphProfile text = engine::MakeProfile(counts, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(engine::DigraphScore(text, set, kept));
}
BENCHMARK(BM_ScoreAgainstSet);

BENCHMARK_MAIN();
