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

    // Several paths may make one set; the order given is kept.
    const auto extended =
        ParseScanOptions({"--extended", "-d", "--set", "de=a.txt", "--set=en_GB=b.profile", "--set",
                          "de=c.txt", "--language", "fr,it", "corpus"});
    ASSERT_TRUE(extended.options) << extended.error.toStdString();
    EXPECT_TRUE(extended.options->extended);
    ASSERT_EQ(extended.options->sets.size(), 3);
    EXPECT_EQ(extended.options->sets[1].name, "en_GB");
    EXPECT_EQ(extended.options->sets[1].path, "b.profile");
    EXPECT_EQ(extended.options->sets[2].name, "de");
    EXPECT_EQ(extended.options->languages, (QStringList{"fr", "it"}));
    // The damage checks need no reference.
    EXPECT_TRUE(ParseScanOptions({"--extended", "corpus"}).options);

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
        {{"-e", "latin-9", "a"}, "-e: unknown encoding 'latin-9' (windows-1252, utf-8 or auto)"},
        {{"--format", "csv", "a"}, "--format: unknown format 'csv' (tsv or jsonl)"},
        {{"--files-from", "list", "a"}, "give either FOLDER or --files-from, not both"},
        {{"-x", "a"}, "unknown option '-x'"},
        {{"-r"}, "-r needs a file"},
        {{"--subfolders=yes", "a"}, "--subfolders takes no value"},
        {{"--shard", "9/8", "a"}, "--shard: '9/8' is not K/N with 1 <= K <= N <= 1000000"},
        {{"--profile", "p", "-r", "r", "a"}, "give either --reference or --profile, not both"},
        {{"--save-profile", "p", "a"}, "--save-profile needs at least one --reference file"},
        // The extended check's options.
        {{"-d", "--set", "de=a.txt", "a"}, "--set and --language need --extended"},
        {{"-d", "--language", "auto", "a"}, "--set and --language need --extended"},
        {{"--extended", "--language", "de", "a"},
         "--set and --language are for the digraph check: add -d"},
        {{"--extended", "-d", "a"},
         "--digraph --extended needs a reference set: -r, --profile, --set or --language"},
        {{"--extended", "-d", "--set", "a.txt", "a"}, "--set: 'a.txt' is not NAME=PATH"},
        {{"--extended", "-d", "--set", "=a.txt", "a"},
         "--set: '' is not a set name (1 to 64 ASCII letters, digits, '-', '_' and '.', starting "
         "with a "
         "letter or digit)"},
        {{"--extended", "-d", "--set", "my set=a.txt", "a"},
         "--set: 'my set' is not a set name (1 to 64 ASCII letters, digits, '-', '_' and '.', "
         "starting "
         "with a letter or digit)"},
        {{"--extended", "-d", "--set", "-de=a.txt", "a"},
         "--set: '-de' is not a set name (1 to 64 ASCII letters, digits, '-', '_' and '.', "
         "starting with "
         "a letter or digit)"},
        {{"--extended", "-d", "--set", "de=", "a"}, "--set: de= needs a PATH"},
        {{"--extended", "-d", "--set", "reference=a.txt", "a"},
         "--set: the set 'reference' is made by the known good texts (-r and --profile)"},
        {{"--extended", "-d", "--language", "auto,de", "a"},
         "--language: 'auto,de' is not auto or CODE[,CODE...]"},
        {{"--extended", "-d", "--language", "de,,fr", "a"},
         "--language: 'de,,fr' is not auto or CODE[,CODE...]"},
        // A hostile value is quoted readably: controls escaped, a long one cut.
        {{"--extended", "-d", "--set", "a\nb\x1b[2J=x.txt", "a"},
         "--set: 'a\\x0ab\\x1b[2J' is not a set name (1 to 64 ASCII letters, digits, '-', '_' and "
         "'.', "
         "starting with a letter or digit)"},
        {{"--extended", "-d", "--set", QString(131072, 'n') + "\n=x.txt", "a"},
         "--set: 'nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn\u2026 (131073 "
         "characters)' is not a set name (1 to 64 ASCII letters, digits, '-', '_' and '.', "
         "starting with "
         "a letter or digit)"},
        {{"--format", "\x1b[31m", "a"}, "--format: unknown format '\\x1b[31m' (tsv or jsonl)"},
        {{QString(100, '-'), "a"},
         "unknown option '------------------------------------------------------------\u2026 (100 "
         "characters)'"},
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
