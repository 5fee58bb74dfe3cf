// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSource.h"
#include "TempDir.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

// The walk runs ahead of a slow reader by a bounded number of paths, never
// the whole folder, yet the number of files is known long before the end;
// every file comes once, in the walk's order.
TEST(WalkAheadSource, WaitsForTheReaderAndStillKnowsTheTotalEarly) {
    TempDir dir;
    QStringList expected;
    for (int i = 0; i < 600; ++i)
        expected << dir.write(
            QStringLiteral("d%1/f%2.txt").arg(i / 100).arg(i % 100, 3, 10, QLatin1Char('0')), "x");
    engine::TWalkAheadSource source(dir.path(), true, 32);
    QStringList got;
    engine::TSourceFile file;
    qsizetype totalAt = -1;
    while (source.Next(file)) {
        got << file.path;
        if (totalAt < 0 && source.Total() >= 0)
            totalAt = got.size();
        if (got.size() % 50 == 0)
            QThread::msleep(2); // a slow reader
    }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(source.Total(), 600);
    EXPECT_LE(source.MostWaiting(), 32u + 16u);
    EXPECT_GE(totalAt, 1);
    EXPECT_LT(totalAt, 600) << "the number of files was known only at the end";
}

} // namespace
