#include "ScanOptions.h"

#include <limits>

namespace cli {

const char *UsageText() {
    return "Usage: brindle-scan [OPTIONS] FOLDER\n"
           "       brindle-scan [OPTIONS] --files-from LIST\n"
           "Lists suspect (corrupt) text files: one line per file, the path, a TAB and the "
           "reason.\n"
           "\n"
           "  -r, --reference FILE   a known-good text file; repeat for several (needed with "
           "--digraph)\n"
           "  -s, --subfolders       include subfolders\n"
           "  -d, --digraph          run the digraph check\n"
           "  -f, --freq-var N       frequency variation per 1000 (default 15, 0 to 1000)\n"
           "  -p, --fail-pct N       percent fail allowed (default 10, 0 or more)\n"
           "  -e, --encoding NAME    how files without a byte-order mark are read: windows-1252\n"
           "                         (default, as the window) or utf-8\n"
           "      --files-from LIST  check the files named in LIST, one path per line (\"-\": "
           "standard\n"
           "                         input), in that order, instead of walking FOLDER\n"
           "      --format tsv|jsonl output format (default tsv)\n"
           "  -j, --jobs N           worker threads (default: the number of cores)\n"
           "      --progress, --no-progress\n"
           "                         a progress bar on standard error (default: only when "
           "standard\n"
           "                         error is a terminal)\n"
           "  -h, --help             this text\n"
           "      --version          the program's version\n"
           "\n"
           "Exit status: 0 no suspect file, 1 at least one suspect file, 2 an error.\n";
}

namespace {

std::optional<int> ParseInt(const QString &text, int min, int max) {
    bool ok = false;
    const qlonglong v = text.toLongLong(&ok);
    if (!ok || v < min || v > max)
        return std::nullopt;
    return int(v);
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
        QString inlineValue;
        bool hasInline = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            const qsizetype eq = arg.indexOf(QLatin1Char('='));
            inlineValue = arg.mid(eq + 1);
            arg = arg.left(eq);
            hasInline = true;
        } else if (arg.size() > 2 && arg.at(0) == QLatin1Char('-') &&
                   arg.at(1) != QLatin1Char('-') && QStringLiteral("rfpej").contains(arg.at(1))) {
            // "-j4" as well as "-j 4".
            inlineValue = arg.mid(2);
            arg = arg.left(2);
            hasInline = true;
        }
        auto value = [&](QString &out) -> bool {
            if (hasInline) {
                out = inlineValue;
                return true;
            }
            if (i + 1 >= args.size())
                return false;
            out = args.at(++i);
            return true;
        };
        QString v;
        if (arg == QLatin1String("--")) {
            positional += args.mid(i + 1);
            break;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            o.help = true;
        } else if (arg == QLatin1String("--version")) {
            o.version = true;
        } else if (arg == QLatin1String("-s") || arg == QLatin1String("--subfolders")) {
            o.subfolders = true;
        } else if (arg == QLatin1String("-d") || arg == QLatin1String("--digraph")) {
            o.digraph = true;
        } else if (arg == QLatin1String("--progress")) {
            o.progress = TProgressMode::On;
        } else if (arg == QLatin1String("--no-progress")) {
            o.progress = TProgressMode::Off;
        } else if (arg == QLatin1String("-r") || arg == QLatin1String("--reference")) {
            if (!value(v) || v.isEmpty())
                return fail(QStringLiteral("%1 needs a file").arg(arg));
            o.references << v;
        } else if (arg == QLatin1String("-f") || arg == QLatin1String("--freq-var")) {
            if (!value(v))
                return fail(QStringLiteral("%1 needs a number").arg(arg));
            const auto n = ParseInt(v, 0, 1000);
            if (!n)
                return fail(
                    QStringLiteral("%1: '%2' is not a whole number from 0 to 1000").arg(arg, v));
            o.freqVariation = *n;
        } else if (arg == QLatin1String("-p") || arg == QLatin1String("--fail-pct")) {
            if (!value(v))
                return fail(QStringLiteral("%1 needs a number").arg(arg));
            const auto n = ParseInt(v, 0, std::numeric_limits<int>::max());
            if (!n)
                return fail(
                    QStringLiteral("%1: '%2' is not a whole number of 0 or more").arg(arg, v));
            o.failPercent = *n;
        } else if (arg == QLatin1String("-e") || arg == QLatin1String("--encoding")) {
            if (!value(v))
                return fail(QStringLiteral("%1 needs an encoding name").arg(arg));
            const QString name = v.toLower();
            if (name == QLatin1String("windows-1252"))
                o.encoding = engine::TDefaultEncoding::Windows1252;
            else if (name == QLatin1String("utf-8"))
                o.encoding = engine::TDefaultEncoding::Utf8;
            else
                return fail(QStringLiteral("%1: unknown encoding '%2' (windows-1252 or utf-8)")
                                .arg(arg, v));
        } else if (arg == QLatin1String("--files-from")) {
            if (!value(v) || v.isEmpty())
                return fail(
                    QStringLiteral("--files-from needs a list file, or - for standard input"));
            o.filesFrom = v;
        } else if (arg == QLatin1String("--format")) {
            if (!value(v))
                return fail(QStringLiteral("--format needs tsv or jsonl"));
            if (v == QLatin1String("tsv"))
                o.format = TOutputFormat::Tsv;
            else if (v == QLatin1String("jsonl"))
                o.format = TOutputFormat::Jsonl;
            else
                return fail(QStringLiteral("--format: unknown format '%1' (tsv or jsonl)").arg(v));
        } else if (arg == QLatin1String("-j") || arg == QLatin1String("--jobs")) {
            if (!value(v))
                return fail(QStringLiteral("%1 needs a number").arg(arg));
            const auto n = ParseInt(v, 1, 1024);
            if (!n)
                return fail(
                    QStringLiteral("%1: '%2' is not a whole number from 1 to 1024").arg(arg, v));
            o.jobs = *n;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            return fail(QStringLiteral("unknown option '%1'").arg(arg));
        } else {
            positional << arg;
        }
    }
    if (o.help || o.version) {
        result.options = o;
        return result;
    }
    if (!o.filesFrom.isEmpty()) {
        if (!positional.isEmpty())
            return fail(QStringLiteral("give either FOLDER or --files-from, not both"));
    } else {
        if (positional.size() != 1)
            return fail(positional.isEmpty() ? QStringLiteral("no FOLDER given")
                                             : QStringLiteral("only one FOLDER may be given"));
        o.folder = positional.first();
    }
    if (o.digraph && o.references.isEmpty())
        return fail(QStringLiteral("--digraph needs at least one --reference file"));
    result.options = o;
    return result;
}

} // namespace cli
