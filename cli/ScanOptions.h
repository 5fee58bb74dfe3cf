// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// brindle-scan's command line.
//
// The options are one table (ScanOptions.cpp): each row names the option,
// whether it takes a value, and how the value lands in TScanOptions. The
// help text is kept by hand beside it, within 80 columns.

#include "FileCheck.h"
#include "Shards.h"
#include "TextFile.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace cli {

enum class TOutputFormat { Tsv, Jsonl };
enum class TProgressMode { Auto, On, Off };

// One --set NAME=PATH.
struct TSetPath {
    QString name;
    QString path;
};

struct TScanOptions {
    QStringList references;
    QString profile;     // a saved reference profile, used instead of references
    QString saveProfile; // where to save the references' profile
    bool subfolders = false;
    bool digraph = false;
    int freqVariation = engine::kDefaultFreqVariationPerMille;
    int failPercent = engine::kDesignPercentFailAllowed;
    engine::TDefaultEncoding encoding = engine::TDefaultEncoding::Windows1252;
    QStringList folders;         // walked in the order given
    QString filesFrom;           // "-" for standard input
    bool nullSeparated = false;  // --files-from and --list use NUL, not LF
    bool list = false;           // print the files instead of checking them
    std::optional<TShard> shard; // check (or list) only this part
    TOutputFormat format = TOutputFormat::Tsv;
    int jobs = 0; // 0: one per core
    TProgressMode progress = TProgressMode::Auto;
    // The damage checks, "too short to judge", and with -d the digraph check
    // against the closest of the reference sets, scored.
    bool extended = false;
    QList<TSetPath> sets;  // in the order given; several paths may share a name
    QStringList languages; // shipped sets by code, or {"auto"} for all of them
    bool help = false;
    bool version = false;
};

struct TParseResult {
    std::optional<TScanOptions> options;
    QString error; // set when options is empty
};

TParseResult ParseScanOptions(const QStringList &args);

const char *UsageText();

} // namespace cli
