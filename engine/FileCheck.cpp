// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCheck.h"

#include "FormatSettings.h"
#include "General_Trees.h"
#include "Mykpsmall.h"
#include "RunError.h"

#include <algorithm>

namespace engine {

namespace {

// Closes the file however a check ends: a verdict, a pass or an error.
struct TClosing {
    TTextFile &file;
    ~TClosing() { file.Close(); }
};

} // namespace

QString SizeReason(int64_t size, int64_t length) {
    return QStringLiteral("File-size ") + QString::number(size) +
           QStringLiteral(" but text-length ") + QString::number(length);
}

QString DigraphReason(const QString &tooMany, const QString &tooFew) {
    QString reason;
    if (!tooMany.isEmpty())
        reason += QStringLiteral("Too many: ") + tooMany;
    if (!tooFew.isEmpty())
        reason += QStringLiteral("Too few: ") + tooFew;
    return reason;
}

QString TooShortReason(int64_t digraphs, int64_t needed) {
    return QStringLiteral("Too short to judge: ") + QString::number(digraphs) +
           QStringLiteral(" letter pairs, ") + QString::number(needed) + QStringLiteral(" needed");
}

TCheckSettings MakeCheckSettings(bool thoroughly, int32_t minDigraphs,
                                 int32_t freqVariationPerMille, int32_t percentFailAllowed,
                                 TDefaultEncoding encoding, TDecimalSeparator separator) {
    TCheckSettings s;
    s.thoroughly = thoroughly;
    s.min_digraphs = minDigraphs;
    s.freq_variation_per_mille = freqVariationPerMille;
    s.percent_fail_allowed = percentFailAllowed;
    s.encoding = encoding;
    s.decimal_separator = separator == TDecimalSeparator::User
                              ? suite::UserDefaultFormatSettings().DecimalSeparator
                              : QLatin1Char('.');
    return s;
}

bool FailsSizeTest(const TFileMeasure &m) {
    if (m.unicode)
        return m.length < m.size / 2 - 1;
    if (m.kind == TTextKind::Utf8)
        return m.length < m.decodedUnits - 1;
    return m.length < m.size - 1;
}

TCheckResult TFileChecker::Check(const QString &path, const TCheckSettings &settings,
                                 const TDigraphProfile *reference,
                                 const TPercentCallback &onPercent2, TVerdict &verdict,
                                 bool seenRegular) {
    if (!fFile.Open(path, seenRegular))
        return TCheckResult::Missing;
    const TClosing closing{fFile};
    MyYieldProcess();
    if (settings.extended) {
        try {
            return CheckExtended(settings, onPercent2, verdict);
        } catch (const ETreeError &e) {
            throw suite::TRunError(path, QString::fromLatin1(e.what()));
        }
    }
    try {
        const bool thorough = settings.thoroughly && reference;
        // The digraphs are counted while the length is measured, in one
        // read; the counts of a file that fails the size test are simply
        // dropped. Progress through the file comes from that same read.
        if (thorough) {
            // The tables are cleared only for files whose digraphs are counted.
            fBytes.Reset();
            fWide.Reset();
            fOrdered.Clear();
        }
        const TDigraphSinks fast{&fBytes, &fWide, nullptr};
        const TBytesReadCallback onRead =
            thorough ? ReadProgress(onPercent2) : TBytesReadCallback{};
        const TFileMeasure m = thorough ? fFile.Measure(settings.encoding, fast, onRead)
                                        : fFile.Measure(settings.encoding);
        // A file cut short or grown while it was read is reported as changed,
        // never judged on what was read of it.
        fFile.CheckUnchanged();
        if (FailsSizeTest(m)) {
            verdict = TVerdict{};
            verdict.test = TSuspectTest::Size;
            verdict.file_size = m.size;
            verdict.text_length = m.length;
            verdict.reason = SizeReason(m.size, m.length);
            return TCheckResult::Suspect;
        }
        if (!thorough)
            return TCheckResult::Passed;
        MyYieldProcess();
        const bool eightBit = m.kind == TTextKind::Ansi;
        TDigraphProfile &sample = fSample;
        bool counted;
        if (eightBit) {
            counted = TakeProfile(fBytes, settings.min_digraphs, sample);
        } else if (fWide.Overflowed()) {
            fWide.Reset();
            counted = false;
        } else {
            counted = TakeProfile(fWide, settings.min_digraphs, sample);
        }
        if (!counted) {
            // Too many distinct letters for the flat table, or enough
            // distinct digraphs that the order of first occurrence matters
            // (rare): count again in order.
            fFile.Count(m, TDigraphSinks{nullptr, nullptr, &fOrdered});
            fFile.CheckUnchanged();
            sample = MakeProfile(fOrdered, settings.min_digraphs);
        }
        const TDigraphComparison cmp =
            CompareProfiles(sample, *reference, settings.freq_variation_per_mille,
                            settings.percent_fail_allowed, settings.decimal_separator, true);
        if (!cmp.fails)
            return TCheckResult::Passed;
        verdict = TVerdict{};
        verdict.test = TSuspectTest::Digraph;
        verdict.file_size = m.size;
        verdict.text_length = m.length;
        verdict.fail_fraction = cmp.fail_fraction;
        verdict.too_many = cmp.too_many;
        verdict.too_few = cmp.too_few;
        verdict.reason = DigraphReason(cmp.too_many, cmp.too_few);
        return TCheckResult::Suspect;
    } catch (const ETreeError &e) {
        throw suite::TRunError(path, QString::fromLatin1(e.what()));
    }
}

TBytesReadCallback TFileChecker::ReadProgress(const TPercentCallback &onPercent2) const {
    if (!onPercent2)
        return {};
    const int64_t size = fFile.Size();
    return [&onPercent2, size](int64_t bytes) {
        onPercent2(size > 0 ? int32_t(std::min<int64_t>(bytes, size) * 100 / size) : 100);
    };
}

bool TFileChecker::CountReference(const QString &path, TDefaultEncoding encoding,
                                  TPairCounts &counts, bool inOrder, TFileMeasure *measured) {
    if (!fFile.Open(path))
        return false;
    const TClosing closing{fFile};
    if (inOrder) {
        const TFileMeasure m = fFile.Measure(encoding, TDigraphSinks{nullptr, nullptr, &counts});
        if (measured)
            *measured = m;
    } else {
        fBytes.Reset();
        fWide.Reset();
        const TFileMeasure m = fFile.Measure(encoding, TDigraphSinks{&fBytes, &fWide, nullptr});
        if (measured)
            *measured = m;
        if (m.kind != TTextKind::Ansi && fWide.Overflowed()) {
            fWide.Reset();
            fFile.Count(m, TDigraphSinks{nullptr, nullptr, &counts});
            counts.SetOrderUnknown(); // mixed with unordered counts of other files
        } else if (m.kind == TTextKind::Ansi) {
            fBytes.FlushInto(counts);
        } else {
            fWide.FlushInto(counts);
        }
    }
    fFile.CheckUnchanged();
    return true;
}

} // namespace engine
