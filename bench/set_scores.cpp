// SPDX-License-Identifier: GPL-3.0-or-later
// Prints, for each file named on standard input, what the extended digraph
// check sees: its letter pairs, the closest reference set, the score and the
// set's cut for that length, and whether the classic comparison against that
// set fails. For choosing the decision rule on a labelled corpus.
//
// Run: build/bench/set_scores NAME=FILE[,FILE...]|NAME=SAVED.profile ... < list-of-files
// (texts read as UTF-8 when valid, else Windows-1252; the design tolerances).
#include "DigraphScore.h"
#include "FileCheck.h"
#include "ProfileFile.h"
#include "ReferenceSets.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>
#include <chrono>
#include <cstdio>

using namespace engine;

namespace {

TDefaultEncoding EncodingOf(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return TDefaultEncoding::Windows1252;
    const QByteArray bytes = f.readAll();
    const QString decoded = QString::fromUtf8(bytes);
    return decoded.contains(QChar::ReplacementCharacter) ? TDefaultEncoding::Windows1252
                                                         : TDefaultEncoding::Utf8;
}

TPairCounts CountsOf(TFileChecker &checker, const QString &path) {
    TPairCounts counts;
    checker.CountReference(path, EncodingOf(path), counts, true);
    return counts;
}

} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    TFileChecker checker;
    TReferenceSets sets;
    const auto start = std::chrono::steady_clock::now();
    for (const QString &arg : app.arguments().mid(1)) {
        const qsizetype eq = arg.indexOf(QLatin1Char('='));
        if (arg.endsWith(QLatin1String(".profile"))) {
            TProfileRead read = ReadProfileFile(arg.mid(eq + 1));
            if (!read.saved) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(arg), qPrintable(read.error));
                return 2;
            }
            sets.push_back(MakeReferenceSet(arg.left(eq), std::move(read.saved->profile),
                                            std::move(read.saved->cut)));
            continue;
        }
        TPairCounts counts;
        for (const QString &file : arg.mid(eq + 1).split(QLatin1Char(','))) {
            TPairCounts one = CountsOf(checker, file);
            for (uint32_t key : one.Order())
                counts.Add(key, one.CountOf(key));
        }
        sets.push_back(MakeReferenceSet(arg.left(eq), MakeProfile(counts, kDefaultMinDigraphs)));
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "%zu sets read and calibrated in %.2f s\n", sets.size(), seconds);
    const int64_t least =
        MinDigraphsToJudge(kDefaultFreqVariationPerMille, kDesignPercentFailAllowed);
    std::printf("file\tdigraphs\tset\tscore\tcut\tclassic\tfraction\n");
    QTextStream in(stdin);
    // How long the closest-set search itself takes, apart from reading and
    // counting the files, and over how many bytes.
    double searchSeconds = 0.0;
    qint64 bytes = 0;
    for (QString path; in.readLineInto(&path);) {
        const TPairCounts counts = CountsOf(checker, path);
        bytes += QFileInfo(path).size();
        const TDigraphProfile all = MakeProfile(counts, 1);
        const TDigraphProfile sample = MakeProfile(counts, kDefaultMinDigraphs);
        double score = 1.0;
        const auto searchStart = std::chrono::steady_clock::now();
        const TReferenceSet *set = all.digraphs >= least ? ClosestSet(all, sets, score) : nullptr;
        searchSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - searchStart).count();
        if (!set) {
            std::printf("%s\t%lld\t-\t-\t-\t-\t-\n", qPrintable(path), (long long)all.digraphs);
            continue;
        }
        const TDigraphComparison cmp =
            CompareProfiles(sample, set->profile, kDefaultFreqVariationPerMille,
                            kDesignPercentFailAllowed, QLatin1Char('.'), true);
        std::printf("%s\t%lld\t%s\t%.5f\t%.5f\t%d\t%.3f\n", qPrintable(path),
                    (long long)all.digraphs, qPrintable(set->name), score,
                    set->cut.At(all.digraphs), int(cmp.fails), double(cmp.fail_fraction));
    }
    std::fprintf(stderr, "closest-set search: %.3f s for %.2f MB of files (%.0f MB/s)\n",
                 searchSeconds, double(bytes) / 1048576.0,
                 searchSeconds > 0 ? double(bytes) / 1048576.0 / searchSeconds : 0.0);
    return 0;
}
