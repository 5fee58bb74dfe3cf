// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScanOptions.h"

#include "EchoValue.h"
#include "RunSetup.h"

#include <limits>

namespace cli {

const char *UsageText() {
    // Keep every line within 80 columns.
    return "Usage: brindle-scan [OPTIONS] FOLDER|FILE...\n"
           "       brindle-scan [OPTIONS] --files-from LIST\n"
           "Lists suspect (corrupt) text files: one line per file, the path, a TAB and\n"
           "the reason. Several FOLDERs (or FILEs) are checked in the order given; a\n"
           "run that finds no file to check says so on standard error.\n"
           "\n"
           "  -r, --reference FILE   a known-good text file; repeat for several\n"
           "                         (needed with --digraph)\n"
           "      --profile FILE     use a reference profile saved with --save-profile\n"
           "                         instead of --reference\n"
           "      --save-profile FILE\n"
           "                         save the profile of the --reference files to FILE;\n"
           "                         without FOLDER nothing else is done\n"
           "  -s, --subfolders       include subfolders\n"
           "      --follow-links     follow every link to a file; without it a link to\n"
           "                         a file outside FOLDER is left out, with a note on\n"
           "                         standard error\n"
           "  -d, --digraph          run the digraph check\n"
           "  -f, --freq-var N       frequency variation per 1000 (default 15, 0 to 1000)\n"
           "  -p, --fail-pct N       percent fail allowed (default 10, 0 or more)\n"
           "  -e, --encoding NAME    how files without a byte-order mark are read:\n"
           "                         windows-1252 (default, as the window), utf-8, or\n"
           "                         auto (UTF-8 when the whole file is valid UTF-8)\n"
           "      --files-from LIST  check the files named in LIST, one path per line\n"
           "                         (\"-\": standard input), in that order, instead of\n"
           "                         walking FOLDER\n"
           "  -0, --null             LIST and --list name one path per NUL, not per line\n"
           "      --list             print the files that would be checked, one per\n"
           "                         line, and check nothing\n"
           "      --shard K/N        only the K-th of N parts of the files (contiguous,\n"
           "                         balanced by bytes): the outputs of shards 1 to N,\n"
           "                         one after the other, are the output of one run\n"
           "      --format tsv|jsonl output format (default tsv); see PATHS below\n"
           "  -j, --jobs N           worker threads (default: the number of cores)\n"
           "      --progress, --no-progress\n"
           "                         a progress bar on standard error (default: only\n"
           "                         when standard error is a terminal), ending with\n"
           "                         a summary: files, suspects, errors, time\n"
           "      --extended         also look for damage and list files too short to\n"
           "                         judge; with -d, judge letter pairs against the\n"
           "                         closest reference set and score them (EXTENDED)\n"
           "      --set NAME=PATH    a reference set for --extended -d: PATH a text or a\n"
           "                         profile saved with --save-profile; repeat, also\n"
           "                         with one NAME for several PATHs\n"
           "      --language auto|CODE[,CODE...]\n"
           "                         the shipped language sets (auto: all of them)\n"
           "  -h, --help             this text\n"
           "      --version          the program's version\n"
           "\n"
           "PATHS: in TSV a backslash is written \\\\, a TAB \\t, a line feed \\n, a carriage\n"
           "return \\r, and any other control character or a byte that is not UTF-8\n"
           "\\xHH; other paths are written as they are, and the reason and set columns\n"
           "the same way. JSONL adds \"path_bytes\", the path's bytes in base64, when\n"
           "the path is not UTF-8.\n"
           "\n"
           "EXTENDED (--extended): the default tests keep their word: a file the size\n"
           "test or the comparison lists keeps that test, reason and fields, and damage\n"
           "found in it is added beside them. Else damage lists a file; then, with -d,\n"
           "the letter pairs against the closest set. Each line gains a status\n"
           "(suspect; too-short or not-judged, which do not make the status 1), a code\n"
           "and, where known, the offset of the first damage, the set and the score.\n"
           "TSV appends them as columns after the reason: status, code, offset, set,\n"
           "score, then the code and reason of damage found beside a size or digraph\n"
           "verdict (empty when not known). JSONL adds status, test, code, offset, set,\n"
           "score, cut, digraphs, nearer_set and nearer_score, too_many_pairs and\n"
           "too_few_pairs as arrays of {\"pair\", \"file\", \"reference\"} frequencies,\n"
           "and \"damage\": {\"code\", \"offset\", \"reason\"} beside a size or digraph\n"
           "verdict; the default fields (file_size, text_length, fail_fraction,\n"
           "too_many, too_few) stay as they are.\n"
           "Figures are written with a full stop whatever the locale. Codes:\n"
           "  size, digraph       the two default tests\n"
           "  utf16-no-bom        UTF-16 saved without a byte-order mark (its byte\n"
           "                      order in the reason: convert it, it is not lost)\n"
           "  nul                 a NUL byte (U+0000 in UTF-16)\n"
           "  control             control bytes, or bytes Windows-1252 leaves undefined\n"
           "  replacement         U+FFFD, one in a thousand characters or more\n"
           "  mojibake            UTF-8 read as Windows-1252 and saved again\n"
           "  utf16-odd           UTF-16 with an odd number of bytes\n"
           "  utf16-swapped       UTF-16 in the wrong byte order\n"
           "  markup              RTF, HTML or XML saved as text\n"
           "  one-character       one character makes up most of the text\n"
           "  encoded             base64, a hex dump: data written as text\n"
           "  word-list           nearly every line a single word\n"
           "  empty               empty or only white space\n"
           "  too-short           too few letter pairs to judge (status too-short)\n"
           "  not-judged          letters mostly in a script no set holds (status\n"
           "                      not-judged): Han, Arabic, ...\n"
           "A file is too short to judge with fewer than 1 / (t x s) letter pairs, t\n"
           "the tolerance (-f) and s the share allowed to stray (-p): 667 at -f 15\n"
           "-p 10. A pair of frequency p in a good text of n pairs strays past t by\n"
           "chance with a probability of at most p (1 - p) / (n t^2), so at most\n"
           "1 / (n t^2) pairs fail by chance; only the 1 / t pairs as frequent as t\n"
           "can fail both ways, and asking that chance failures stay within the\n"
           "share s of them gives n >= 1 / (s t).\n"
           "The score is the Jensen-Shannon divergence of the file's letter pairs from\n"
           "its closest set (0: the same frequencies, 1: nothing in common); the cut is\n"
           "the score that texts drawn from the set itself pass only once in a hundred\n"
           "at that length. A file strays when both the comparison with -f and -p and\n"
           "the score over the cut say so; with sets of several kinds, also when its\n"
           "score is over the cut and further from its set than the nearest set of\n"
           "another kind is; too short for the comparison, when its score is over the\n"
           "cut. Each language set is a kind of its own; any other set is of a\n"
           "language's kind when it lies in that language's half of the way to the\n"
           "nearest other language, so two sets of one language never accuse each\n"
           "other's texts. Sets: -r and --profile make one named \"reference\"; a set\n"
           "may not be named like a language the run loads. The language sets are\n"
           "CODE.profile in $BRINDLE_LANGUAGES, else in ../share/brindle/languages\n"
           "beside the program.\n"
           "\n"
           "Exit status: 0 no suspect file, 1 at least one suspect file, 2 an error.\n"
           "Files too short to judge do not make the status 1.\n";
}

namespace {

std::optional<int> ParseInt(const QString &text, int min, int max) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return int(v);
}

// Stores `value` for option `name`; an empty answer accepts it, any other
// text is the error to show.
using TApply = QString (*)(TScanOptions &o, const QString &name, const QString &value);

struct TOption {
    const char *shortName; // "-r", or nullptr
    const char *longName;  // "--reference"
    bool takesValue;
    const char *needs; // what a missing value lacks: "a file"
    TApply apply;
};

template <int TScanOptions::*Field, int Min, int Max>
QString SetInt(TScanOptions &o, const QString &name, const QString &value) {
    const auto n = ParseInt(value, Min, Max);
    if (!n) {
        if constexpr (Max == std::numeric_limits<int>::max())
            return QStringLiteral("%1: '%2' is not a whole number of %3 or more")
                .arg(name, suite::EchoValue(value))
                .arg(Min);
        else
            return QStringLiteral("%1: '%2' is not a whole number from %3 to %4")
                .arg(name, suite::EchoValue(value))
                .arg(Min)
                .arg(Max);
    }
    o.*Field = *n;
    return {};
}

template <bool TScanOptions::*Field>
QString SetFlag(TScanOptions &o, const QString &, const QString &) {
    o.*Field = true;
    return {};
}

QString NonEmpty(const QString &name, const QString &value, const char *needs) {
    return value.isEmpty() ? QStringLiteral("%1 needs %2").arg(name, QLatin1String(needs))
                           : QString();
}

const TOption kOptions[] = {
    {"-h", "--help", false, nullptr, SetFlag<&TScanOptions::help>},
    {nullptr, "--version", false, nullptr, SetFlag<&TScanOptions::version>},
    {"-s", "--subfolders", false, nullptr, SetFlag<&TScanOptions::subfolders>},
    {nullptr, "--follow-links", false, nullptr, SetFlag<&TScanOptions::followLinks>},
    {"-d", "--digraph", false, nullptr, SetFlag<&TScanOptions::digraph>},
    {nullptr, "--progress", false, nullptr,
     [](TScanOptions &o, const QString &, const QString &) {
         o.progress = TProgressMode::On;
         return QString();
     }},
    {nullptr, "--no-progress", false, nullptr,
     [](TScanOptions &o, const QString &, const QString &) {
         o.progress = TProgressMode::Off;
         return QString();
     }},
    {"-r", "--reference", true, "a file",
     [](TScanOptions &o, const QString &name, const QString &v) {
         o.references << v;
         return NonEmpty(name, v, "a file");
     }},
    {nullptr, "--profile", true, "a profile file",
     [](TScanOptions &o, const QString &name, const QString &v) {
         o.profile = v;
         return NonEmpty(name, v, "a profile file");
     }},
    {nullptr, "--save-profile", true, "a file name",
     [](TScanOptions &o, const QString &name, const QString &v) {
         o.saveProfile = v;
         return NonEmpty(name, v, "a file name");
     }},
    {"-f", "--freq-var", true, "a number", SetInt<&TScanOptions::freqVariation, 0, 1000>},
    {"-p", "--fail-pct", true, "a number",
     SetInt<&TScanOptions::failPercent, 0, std::numeric_limits<int>::max()>},
    {"-e", "--encoding", true, "an encoding name",
     [](TScanOptions &o, const QString &name, const QString &v) {
         const QString lower = v.toLower();
         if (lower == QLatin1String("windows-1252"))
             o.encoding = engine::TDefaultEncoding::Windows1252;
         else if (lower == QLatin1String("utf-8"))
             o.encoding = engine::TDefaultEncoding::Utf8;
         else if (lower == QLatin1String("auto"))
             o.encoding = engine::TDefaultEncoding::Automatic;
         else
             return QStringLiteral("%1: unknown encoding '%2' (windows-1252, utf-8 or auto)")
                 .arg(name, suite::EchoValue(v));
         return QString();
     }},
    {nullptr, "--files-from", true, "a list file, or - for standard input",
     [](TScanOptions &o, const QString &name, const QString &v) {
         o.filesFrom = v;
         return NonEmpty(name, v, "a list file, or - for standard input");
     }},
    {nullptr, "--format", true, "tsv or jsonl",
     [](TScanOptions &o, const QString &name, const QString &v) {
         if (v == QLatin1String("tsv"))
             o.format = TOutputFormat::Tsv;
         else if (v == QLatin1String("jsonl"))
             o.format = TOutputFormat::Jsonl;
         else
             return QStringLiteral("%1: unknown format '%2' (tsv or jsonl)")
                 .arg(name, suite::EchoValue(v));
         return QString();
     }},
    {"-j", "--jobs", true, "a number", SetInt<&TScanOptions::jobs, 1, 1024>},
    {nullptr, "--extended", false, nullptr, SetFlag<&TScanOptions::extended>},
    {nullptr, "--set", true, "NAME=PATH",
     [](TScanOptions &o, const QString &name, const QString &v) {
         const qsizetype eq = v.indexOf(QLatin1Char('='));
         if (eq < 0)
             return QStringLiteral("%1: '%2' is not NAME=PATH").arg(name, suite::EchoValue(v));
         const QString set = v.left(eq), path = v.mid(eq + 1);
         if (const QString problem = engine::SetNameProblem(set); !problem.isEmpty())
             return QStringLiteral("%1: %2").arg(name, problem);
         if (path.isEmpty())
             return QStringLiteral("%1: %2= needs a PATH").arg(name, suite::EchoValue(set));
         o.sets.append({set, path});
         return QString();
     }},
    {nullptr, "--language", true, "auto or language codes",
     [](TScanOptions &o, const QString &name, const QString &v) {
         const QStringList codes = v.split(QLatin1Char(','));
         for (const QString &code : codes)
             if (!engine::SetNameProblem(code).isEmpty() ||
                 (code == QLatin1String("auto") && codes.size() > 1))
                 return QStringLiteral("%1: '%2' is not auto or CODE[,CODE...]")
                     .arg(name, suite::EchoValue(v));
         o.languages = codes;
         return QString();
     }},
    {"-0", "--null", false, nullptr, SetFlag<&TScanOptions::nullSeparated>},
    {nullptr, "--list", false, nullptr, SetFlag<&TScanOptions::list>},
    {nullptr, "--shard", true, "K/N",
     [](TScanOptions &o, const QString &name, const QString &v) {
         o.shard = ParseShard(v);
         if (!o.shard)
             return QStringLiteral("%1: '%2' is not K/N with 1 <= K <= N <= %3")
                 .arg(name, suite::EchoValue(v))
                 .arg(kMaxShards);
         return QString();
     }},
};

const TOption *FindOption(const QString &arg) {
    for (const TOption &opt : kOptions)
        if ((opt.shortName && arg == QLatin1String(opt.shortName)) ||
            arg == QLatin1String(opt.longName))
            return &opt;
    return nullptr;
}

} // namespace

TParseResult ParseScanOptions(const QStringList &args) {
    TParseResult result;
    TScanOptions o;
    QStringList positional;
    auto fail = [&](const QString &message) {
        result.error = message;
        return result;
    };
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString arg = args.at(i);
        if (arg == QLatin1String("--")) {
            positional += args.mid(i + 1);
            break;
        }
        if (!arg.startsWith(QLatin1Char('-')) || arg.size() == 1) {
            positional << arg;
            continue;
        }
        // "--name=value", and "-j4" as well as "-j 4".
        std::optional<QString> inlineValue;
        if (arg.startsWith(QLatin1String("--"))) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            if (eq > 0) {
                inlineValue = arg.mid(eq + 1);
                arg.truncate(eq);
            }
        } else if (arg.size() > 2) {
            const TOption *opt = FindOption(arg.left(2));
            if (opt && opt->takesValue) {
                inlineValue = arg.mid(2);
                arg.truncate(2);
            }
        }
        const TOption *opt = FindOption(arg);
        if (!opt)
            return fail(QStringLiteral("unknown option '%1'").arg(suite::EchoValue(arg)));
        QString value;
        if (opt->takesValue) {
            if (inlineValue)
                value = *inlineValue;
            else if (i + 1 < args.size())
                value = args.at(++i);
            else
                return fail(QStringLiteral("%1 needs %2").arg(arg, QLatin1String(opt->needs)));
        } else if (inlineValue) {
            return fail(QStringLiteral("%1 takes no value").arg(arg));
        }
        const QString error = opt->apply(o, arg, value);
        if (!error.isEmpty())
            return fail(error);
    }
    if (o.help || o.version) {
        result.options = o;
        return result;
    }
    if (!o.profile.isEmpty() && !o.references.isEmpty())
        return fail(QStringLiteral("give either --reference or --profile, not both"));
    if (!o.saveProfile.isEmpty() && o.references.isEmpty())
        return fail(QStringLiteral("--save-profile needs at least one --reference file"));
    if (!o.filesFrom.isEmpty()) {
        if (!positional.isEmpty())
            return fail(QStringLiteral("give either FOLDER or --files-from, not both"));
    } else {
        // Saving a profile is a whole job of its own.
        if (positional.isEmpty() && o.saveProfile.isEmpty())
            return fail(QStringLiteral("no FOLDER given"));
        o.folders = positional;
    }
    const bool haveSets = !o.sets.isEmpty() || !o.languages.isEmpty();
    if (haveSets && !o.extended)
        return fail(QStringLiteral("--set and --language need --extended"));
    // Sets only judge letter pairs; without -d they would be loaded for nothing.
    if (haveSets && !o.digraph)
        return fail(QStringLiteral("--set and --language are for the digraph check: add -d"));
    const bool haveReference = !o.references.isEmpty() || !o.profile.isEmpty();
    if (o.digraph && !haveReference && !haveSets)
        return fail(
            o.extended
                ? QStringLiteral("--digraph --extended needs a reference set: -r, "
                                 "--profile, --set or --language")
                : QStringLiteral("--digraph needs at least one --reference file, or --profile"));
    result.options = o;
    return result;
}

} // namespace cli
