// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The check of one file: the size test and, when asked for, the digraph
// check against a reference profile. The detector's run and the command-line
// scanner both check files through TFileChecker, so their verdicts and
// reason texts are the same by construction.

#include "DigraphProfile.h"
#include "TextFile.h"
#include "Verdict.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace engine {

struct TReferenceSet; // ReferenceSets.h
using TReferenceSets = std::vector<TReferenceSet>;

// The tolerances, each defined here once. The detector starts with these;
// the window's spin edits and brindle-scan's options start with the same
// variation but with the stricter kDesignPercentFailAllowed.
constexpr int32_t kDefaultMinDigraphs = 10;
constexpr int32_t kDefaultFreqVariationPerMille = 15;
constexpr int32_t kDefaultPercentFailAllowed = 20;
constexpr int32_t kDesignPercentFailAllowed = 10;

struct TCheckSettings {
    bool thoroughly = false;
    int32_t min_digraphs = kDefaultMinDigraphs;
    int32_t freq_variation_per_mille = kDefaultFreqVariationPerMille;
    int32_t percent_fail_allowed = kDefaultPercentFailAllowed;
    TDefaultEncoding encoding = TDefaultEncoding::Windows1252;
    QChar decimal_separator = QLatin1Char('.');
    // The extended checks: damage detectors, "too short to judge", and the
    // digraph check against the closest of several reference sets with a
    // score. Off by default: a default run's verdicts never change.
    bool extended = false;
    // Extended digraph check only: the sets each file is judged against
    // (the closest one). Shared, as every job of a run reads them.
    std::shared_ptr<const TReferenceSets> sets;
};

// The decimal separator of the digraph reasons: the user's number format's
// (the window), or always a full stop (brindle-scan, whose outputs from
// different machines must compare byte for byte).
enum class TDecimalSeparator { User, FullStop };

// The settings of a run, the one way both front ends make them: the given
// tolerances and decimal separator.
TCheckSettings MakeCheckSettings(bool thoroughly, int32_t minDigraphs,
                                 int32_t freqVariationPerMille, int32_t percentFailAllowed,
                                 TDefaultEncoding encoding,
                                 TDecimalSeparator separator = TDecimalSeparator::User);

// "File-size 2048 but text-length 12".
QString SizeReason(int64_t size, int64_t length);
// "Too many: ..." then "Too few: ...", each only when not empty.
QString DigraphReason(const QString &tooMany, const QString &tooFew);
// "Too short to judge: 120 letter pairs, 667 needed".
QString TooShortReason(int64_t digraphs, int64_t needed);

// The size test. A UTF-16 file is compared in characters; a UTF-8 file with
// the dead weight of its mark and multi-byte sequences left out, so that a
// whole text never looks short for being UTF-8.
bool FailsSizeTest(const TFileMeasure &m);

// Progress through a file under the digraph check, 0-100: the share of its
// bytes read, reported after every block of the one read.
using TPercentCallback = std::function<void(int32_t percent)>;

// Checks files one at a time; keeps its buffers between files. One per thread.
class TFileChecker {
public:
    // Missing: the file does not exist or is not a regular file (nothing was
    // read). Throws suite::TRunError when it cannot be read or its profile
    // cannot be made. `reference` is needed when settings.thoroughly.
    // `seenRegular`: see TTextFile::Open.
    //
    // With settings.extended (ExtendedCheck.cpp) the damage detectors come
    // first, then the size test, then, under the digraph check with sets
    // given, "too short to judge" and the digraph check against the closest
    // set; `reference` is not used.
    TCheckResult Check(const QString &path, const TCheckSettings &settings,
                       const TDigraphProfile *reference, const TPercentCallback &onPercent2,
                       TVerdict &verdict, bool seenRegular = false);

    // Adds the digraphs of a reference file to `counts`: in order of first
    // occurrence when `inOrder`, else through the fast counters (the order is
    // then unknown). False when the file does not exist or is not regular.
    // `measured`, when given, receives the file's size and text length.
    bool CountReference(const QString &path, TDefaultEncoding encoding, TPairCounts &counts,
                        bool inOrder, TFileMeasure *measured = nullptr);

    // After a Missing result: the errno that said so, or 0 when the path is
    // there but is not a regular file.
    int MissingError() const { return fFile.OpenError(); }

private:
    TCheckResult CheckExtended(const TCheckSettings &settings, const TPercentCallback &onPercent2,
                               TVerdict &verdict);
    // The extended check's profiles of the file, after a measure that fed
    // the fast counters: every pair (a least count of 1) into fAll, and the
    // comparison's profile (`minDigraphs`) into fSample, exactly as the
    // default check makes it. `asUtf8` counts an 8-bit text again, read as
    // UTF-8.
    void TakeProfiles(const TFileMeasure &m, bool asUtf8, int32_t minDigraphs);
    // Progress through the open file for `onPercent2`, from the bytes read;
    // none when it is unset.
    TBytesReadCallback ReadProgress(const TPercentCallback &onPercent2) const;

    TTextFile fFile;
    TByteDigraphCounter fBytes;
    TWideDigraphCounter fWide;
    TPairCounts fOrdered;
    TDigraphProfile fSample; // kept for its buffer
    TDigraphProfile fAll;    // the extended check's: every pair of the file
    // The scripts the run's sets hold, worked out once for `fHeldFor`.
    const TReferenceSets *fHeldFor = nullptr;
    std::vector<QChar::Script> fHeld;
};

} // namespace engine
