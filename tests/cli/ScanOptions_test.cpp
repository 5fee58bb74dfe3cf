// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanOptions.h"

#include <gtest/gtest.h>

using cli::ParseScanOptions;

TEST(ScanOptions, AcceptsTheDocumentedForms) {
    const auto r = ParseScanOptions({"-s", "-d", "-r", "a.txt", "--reference=b.txt", "-f40",
                                     "--fail-pct", "0", "-e", "utf-8", "--format", "jsonl", "-j",
                                     "3", "--no-progress", "corpus"});
    ASSERT_TRUE(r.options) << r.error.toStdString();
    const auto &o = *r.options;
    EXPECT_EQ(o.references, (QStringList{"a.txt", "b.txt"}));
    EXPECT_TRUE(o.subfolders && o.digraph);
    EXPECT_EQ(o.freqVariation, 40);
    EXPECT_EQ(o.failPercent, 0);
    EXPECT_EQ(o.encoding, engine::TDefaultEncoding::Utf8);
    EXPECT_EQ(o.format, cli::TOutputFormat::Jsonl);
    EXPECT_EQ(o.jobs, 3);
    EXPECT_EQ(o.progress, cli::TProgressMode::Off);
    EXPECT_EQ(o.folders, QStringList{"corpus"});

    const auto shard = ParseScanOptions({"--list", "-0", "--shard=3/8", "corpus"});
    ASSERT_TRUE(shard.options) << shard.error.toStdString();
    EXPECT_TRUE(shard.options->list && shard.options->nullSeparated);
    ASSERT_TRUE(shard.options->shard);
    EXPECT_EQ(shard.options->shard->index, 3);
    EXPECT_EQ(shard.options->shard->count, 8);

    // Several folders, in the order given; "--" ends the options.
    const auto several = ParseScanOptions({"b", "-s", "a", "--", "-c"});
    ASSERT_TRUE(several.options) << several.error.toStdString();
    EXPECT_EQ(several.options->folders, (QStringList{"b", "a", "-c"}));

    const auto defaults = ParseScanOptions({"--files-from", "-"});
    ASSERT_TRUE(defaults.options);
    EXPECT_EQ(defaults.options->freqVariation, 15);
    EXPECT_EQ(defaults.options->failPercent, 10);
    EXPECT_EQ(defaults.options->filesFrom, QStringLiteral("-"));
}

TEST(ScanOptions, RefusesWhatCannotWork) {
    const struct {
        QStringList args;
        const char *error;
    } bad[] = {
        {{}, "no FOLDER given"},
        {{"-f", "1001", "a"}, "-f: '1001' is not a whole number from 0 to 1000"},
        {{"-p", "-1", "a"}, "-p: '-1' is not a whole number of 0 or more"},
        {{"-j", "0", "a"}, "-j: '0' is not a whole number from 1 to 1024"},
        {{"-d", "a"}, "--digraph needs at least one --reference file, or --profile"},
        {{"-e", "latin-9", "a"}, "-e: unknown encoding 'latin-9' (windows-1252 or utf-8)"},
        {{"--format", "csv", "a"}, "--format: unknown format 'csv' (tsv or jsonl)"},
        {{"--files-from", "list", "a"}, "give either FOLDER or --files-from, not both"},
        {{"-x", "a"}, "unknown option '-x'"},
        {{"-r"}, "-r needs a file"},
        {{"--subfolders=yes", "a"}, "--subfolders takes no value"},
        {{"--shard", "9/8", "a"}, "--shard: '9/8' is not K/N with 1 <= K <= N <= 1000000"},
        {{"--profile", "p", "-r", "r", "a"}, "give either --reference or --profile, not both"},
        {{"--save-profile", "p", "a"}, "--save-profile needs at least one --reference file"},
    };
    for (const auto &c : bad) {
        const auto r = ParseScanOptions(c.args);
        EXPECT_FALSE(r.options) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.error, QString::fromUtf8(c.error)) << c.args.join(' ').toStdString();
    }
}

TEST(ScanOptions, HelpFitsEightyColumns) {
    const QStringList lines = QString::fromUtf8(cli::UsageText()).split('\n');
    for (const QString &line : lines)
        EXPECT_LE(line.size(), 80) << line.toStdString();
}
