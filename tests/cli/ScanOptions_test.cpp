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
    const QStringList bad[] = {
        {},                                 // no folder
        {"-f", "1001", "a"},                // out of range
        {"-p", "-1", "a"},                  // negative allowance
        {"-j", "0", "a"},                   // no workers
        {"-d", "a"},                        // digraph check without a reference
        {"-e", "latin-9", "a"},             // unknown encoding
        {"--format", "csv", "a"},           // unknown format
        {"--files-from", "list", "a"},      // both sources
        {"-x", "a"},                        // unknown option
        {"-r"},                             // missing value
        {"--subfolders=yes", "a"},          // a value for a flag
        {"--shard", "9/8", "a"},            // no such shard
        {"--profile", "p", "-r", "r", "a"}, // two kinds of reference
        {"--save-profile", "p", "a"},       // nothing to save
    };
    for (const QStringList &args : bad) {
        const auto r = ParseScanOptions(args);
        EXPECT_FALSE(r.options) << args.join(' ').toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
}

TEST(ScanOptions, HelpFitsEightyColumns) {
    const QStringList lines = QString::fromUtf8(cli::UsageText()).split('\n');
    for (const QString &line : lines)
        EXPECT_LE(line.size(), 80) << line.toStdString();
}
