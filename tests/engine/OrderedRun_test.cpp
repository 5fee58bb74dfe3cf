// SPDX-License-Identifier: GPL-3.0-or-later
#include "Fixtures.h"
#include "FolderWalk.h"
#include "OrderedRun.h"
#include "TempDir.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace engine;

namespace {

// A walk's files, as brindle-scan hands them to a run: seen to be regular.
class TWalkSource : public TFileSource {
public:
    TWalkSource(const QString &head, bool subfolders) : fWalk(head, subfolders) {}
    bool Next(TSourceFile &file) override {
        file.seenRegular = true;
        return fWalk.Next(file.path);
    }

private:
    suite::TFolderWalk fWalk;
};

struct Seen {
    qsizetype index;
    QString path;
    TCheckResult result;
    QString reason;
    bool operator==(const Seen &) const = default;
};

// Files of many sizes, every few one cut by a NUL, one missing from disk.
QStringList MakeFiles(const TempDir &dir, int n) {
    QStringList files;
    for (int i = 0; i < n; ++i) {
        QByteArray b = GoodText(1 + (i * 7) % 23);
        if (i % 5 == 2)
            b[10] = 0;
        files << dir.write(QStringLiteral("f/%1/%2.txt")
                               .arg(i / 100, 3, 10, QLatin1Char('0'))
                               .arg(i, 5, 10, QLatin1Char('0')),
                           b);
    }
    files.insert(n / 2, dir.file("missing.txt"));
    return files;
}

std::vector<Seen> RunAll(TFileSource &source, int jobs) {
    std::vector<Seen> seen;
    TRunHooks hooks;
    hooks.sink = [&](qsizetype i, const QString &path, const TFileOutcome &out) {
        seen.push_back({i, path, out.result, out.verdict.reason});
        return true;
    };
    OrderedRun(source, TCheckSettings{}, nullptr, jobs, hooks);
    return seen;
}

} // namespace

TEST(OrderedRun, OutcomesInListOrderWhateverTheJobsAndTheSource) {
    TempDir dir;
    // A short list (checked largest first) and one longer than kShortList
    // (checked in a moving window).
    for (const int n : {40, int(kShortList) + 300}) {
        const QStringList files = MakeFiles(dir, n);
        // The oracle: one checker, one file after another.
        std::vector<Seen> expected;
        TFileChecker checker;
        for (qsizetype i = 0; i < files.size(); ++i) {
            const TFileOutcome out = CheckOne(checker, {files.at(i)}, TCheckSettings{}, nullptr);
            expected.push_back({i, files.at(i), out.result, out.verdict.reason});
        }
        for (const int jobs : {1, 2, 5}) {
            TListSource list(files);
            EXPECT_EQ(RunAll(list, jobs), expected) << n << " files, " << jobs << " jobs";
        }
        // The walk gives the same files (all but the missing one) in the same order.
        std::vector<Seen> walked;
        for (const Seen &s : expected)
            if (s.result != TCheckResult::Missing)
                walked.push_back({qsizetype(walked.size()), s.path, s.result, s.reason});
        for (const int jobs : {1, 3}) {
            TWalkSource walk(dir.file("f"), true);
            EXPECT_EQ(RunAll(walk, jobs), walked) << n << " files, walk, " << jobs << " jobs";
        }
        QDir(dir.file("f")).removeRecursively();
    }
}

TEST(OrderedRun, StopsWhenTheSinkOrTheHookSaysSo) {
    TempDir dir;
    const QStringList files = MakeFiles(dir, 300);
    for (const int jobs : {1, 2}) {
        TListSource list(files);
        qsizetype calls = 0;
        TRunHooks hooks;
        hooks.sink = [&](qsizetype i, const QString &, const TFileOutcome &) {
            ++calls;
            return i < 9;
        };
        OrderedRun(list, TCheckSettings{}, nullptr, jobs, hooks);
        EXPECT_EQ(calls, 10) << jobs;
    }
    // One job runs on this thread: the hook between files can stop it.
    TListSource list(files);
    int between = 0, sunk = 0;
    TRunHooks hooks;
    hooks.between = [&] { return ++between <= 4; };
    hooks.sink = [&](qsizetype, const QString &, const TFileOutcome &) {
        ++sunk;
        return true;
    };
    OrderedRun(list, TCheckSettings{}, nullptr, 1, hooks);
    EXPECT_EQ(sunk, 4);
}
