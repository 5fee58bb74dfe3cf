// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TFileCrapDetector: checks a list of files and collects the suspect ones.
//
// It holds the known-good reference files and their digraph profile, runs
// the size test on every file of a run and, when asked, the digraph check,
// and lists each suspect file with its reason in `weird_files`. The caller's
// thread takes the outcomes, in list order, and lists them. CheckFolder
// checks the files on the run's own threads (engine::TBackgroundRun) and
// walks the folder on another; CheckForCrap checks a list on the caller's
// thread, yielding through MyYieldProcess(). Either way a window stays live and can set
// `processing` to false to stop between two files. Not re-entrant: while CheckForCrap runs, do not
// start another run, set ReferenceFiles or destroy the detector.
//
// A file that cannot be checked (a read error, a size that changed while it
// was read, a lopsided digraph tree) does not end the run: it is listed in
// `weird_files` as unreadable, with the cause as its reason, and the run
// goes on, as brindle-scan's does.

#include "DigraphProfile.h"
#include "FileCheck.h"
#include "OrderedRun.h"
#include "RunError.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Carries the verdict on one listed file, once: data() is its reason text,
// `details` the whole verdict (which test, its figures), `result` whether it
// is suspect or too short to judge. An unreadable file has no verdict: its
// reason is the cause.
class TWideStringHolder {
public:
    explicit TWideStringHolder(engine::TVerdict e,
                               engine::TCheckResult r = engine::TCheckResult::Suspect,
                               bool isUnreadable = false)
        : details(std::move(e)), result(r), unreadable(isUnreadable) {}
    const QString &data() const { return details.reason; }
    // Listed, but neither passed nor suspect: too short, or not judged.
    bool TooShort() const {
        return result == engine::TCheckResult::TooShort ||
               result == engine::TCheckResult::NotJudged;
    }
    engine::TVerdict details;
    engine::TCheckResult result;
    bool unreadable = false;
};

// The suspect-file list: file names in run order, each with its reason
// holder. The list owns the holders; readers may keep pointers to them until
// the next Clear.
class TCrapFileWideStringlist {
public:
    TCrapFileWideStringlist() = default;
    ~TCrapFileWideStringlist() { Clear(); }
    TCrapFileWideStringlist(const TCrapFileWideStringlist &) = delete;
    TCrapFileWideStringlist &operator=(const TCrapFileWideStringlist &) = delete;

    int Count() const { return static_cast<int>(fItems.size()); }
    const QString &Strings(int i) const { return fItems[size_t(i)].name; }
    TWideStringHolder *Objects(int i) const { return fItems[size_t(i)].holder.get(); }
    // Takes ownership of `holder`.
    void AddObject(const QString &name, TWideStringHolder *holder);
    void Clear();

private:
    struct Item {
        QString name;
        std::unique_ptr<TWideStringHolder> holder;
    };
    std::vector<Item> fItems;
};

// A progress callback: percent, 0 to 100. Unset means no calls.
using TOnPercentEvent = engine::TPercentCallback;

// A profile: the counts while it is being made, then the profile list with
// the number of digraph occurrences counted into it (`profile.digraphs`).
struct sample_array {
    std::unique_ptr<engine::TPairCounts> counts;
    engine::TDigraphProfile profile;
};

class TFileCrapDetector {
public:
    TFileCrapDetector();
    ~TFileCrapDetector();
    TFileCrapDetector(const TFileCrapDetector &) = delete;
    TFileCrapDetector &operator=(const TFileCrapDetector &) = delete;

    // The reference file names, one per line (CR LF, CR or LF). Setting them
    // rebuilds the reference at once and reports a problem in a dialog.
    void SetReferenceFiles(const QString &Value);
    // The same, from the names themselves.
    void SetReferenceFileList(const QStringList &files);
    // Builds the reference profile. A missing file is reported at once; a
    // reference that is no text (it fails the size test) leaves
    // ReferenceProblem() naming it with its figures, for the setter's report.
    bool BuildReference();
    const QString &ReferenceProblem() const { return fReferenceProblem; }

    // Checks `files` in their order on this thread through
    // engine::OrderedRun: AOnPercent before each file (the share of the
    // list done), AOnPercent2 through the text of a file under the digraph
    // check, each suspect file (under the extended checks also each file too
    // short to judge) and each unreadable file appended to weird_files (then
    // OnListed called). Without the digraph check no reference is needed.
    void CheckForCrap(const QStringList &files, bool thoroughly, const TOnPercentEvent &AOnPercent,
                      const TOnPercentEvent &AOnPercent2);

    // The window's run: checks the files of `folder` (with its subfolders
    // when asked) as a walk finds them, on `jobs` threads beside this one
    // (engine::TBackgroundRun, one job too), which takes the outcomes in
    // list order and lists them as CheckForCrap does, calling AOnPercent at
    // least every few milliseconds (and AOnPercent2 with the progress through
    // the file it waits for), so a window stays live. The walk runs ahead of
    // the checks; the share AOnPercent reports is 0 until the number of
    // files is known. Folders the walk could not read: UnreadableFolders().
    void CheckFolder(const QString &folder, bool subfolders, bool thoroughly,
                     const TOnPercentEvent &AOnPercent, const TOnPercentEvent &AOnPercent2,
                     int jobs);
    const std::vector<suite::TUnreadableFolder> &UnreadableFolders() const {
        return fUnreadableFolders;
    }

    // What the last run did.
    struct TRunCounts {
        qsizetype files = 0;   // in the list; -1 when a walk was stopped early
        qsizetype checked = 0; // outcomes taken, the unreadable included
        qsizetype size_suspects = 0;
        qsizetype digraph_suspects = 0;
        qsizetype damage_suspects = 0; // extended checks only
        qsizetype too_short = 0;       // extended checks only: listed, not suspect
        qsizetype unreadable = 0;      // could not be checked: listed with the cause
        qsizetype gone = 0;            // went away, or was no regular file, when checked
        bool finished = false;         // not stopped
    };
    const TRunCounts &LastRun() const { return fLastRun; }

    // Called with the index of each entry just appended to weird_files, on
    // the run's thread; the window lists the entry there.
    void SetOnListed(std::function<void(int index)> e) { fOnListed = std::move(e); }

    // The digraph check on whole upper-cased texts in memory. Runs do not
    // use these: they check files through engine::TFileChecker's fast
    // counters. These are the plain reference that the tests hold the fast
    // path to (same verdicts, same reasons, same progress positions).
    void StartReferenceProfile();
    void AddReferenceText(const QString &text);
    bool FinishReferenceProfile();
    bool FailsDigraphCheck(const QString &text);

    // Progress through the text under FailsDigraphCheck (CheckForCrap sets
    // it to its AOnPercent2).
    void SetOnPercent2(TOnPercentEvent e) { fOnPercent2 = std::move(e); }

    // The profile files are compared with, once reference_setup is true.
    const engine::TDigraphProfile &ReferenceProfile() const { return ref.profile; }
    // The settings a run checks with, taken from the public fields.
    engine::TCheckSettings Settings(bool thoroughly) const;
    // True when the extended checks judge letter pairs by reference_sets.
    bool JudgesBySets() const;

    sample_array sample;
    sample_array ref;
    bool reference_setup = false;
    QString too_many_str;
    QString too_few_str;
    bool processing = false;
    int32_t min_digraphs = engine::kDefaultMinDigraphs;
    int32_t digraph_frequency_variation_per_mille = engine::kDefaultFreqVariationPerMille;
    int32_t digraph_percent_fail_allowed = engine::kDefaultPercentFailAllowed;
    TCrapFileWideStringlist weird_files;
    // How files without a byte-order mark are read (the window's and the
    // command line's choice); the 8-bit default keeps the design verdicts.
    engine::TDefaultEncoding default_encoding = engine::TDefaultEncoding::Windows1252;
    // The walk follows links to files outside the folder too; off, as a
    // corpus is what lies inside its folder.
    bool follow_links = false;
    // The extended checks (engine::TCheckSettings::extended), and the sets
    // their digraph check judges against. With sets, a run under the digraph
    // check needs no reference of its own: the sets stand in for it.
    bool extended = false;
    std::shared_ptr<const engine::TReferenceSets> reference_sets;

private:
    void ReportReferenceProblem(const QString &value);
    void List(const QString &path, const engine::TVerdict &verdict, engine::TCheckResult result,
              bool unreadable = false);
    // Takes one outcome in list order.
    void Take(const QString &path, const engine::TFileOutcome &outcome);
    // Starts a run (reference_setup must hold when `thoroughly`).
    bool BeginRun(bool thoroughly, const TOnPercentEvent &AOnPercent,
                  const TOnPercentEvent &AOnPercent2);
    // Sets the end of the counts, reports the end.
    void EndRun();
    // `total` gives the number of files, -1 while it is not known.
    void RunInBackground(std::unique_ptr<engine::TFileSource> source,
                         const std::function<qsizetype()> &total, bool thoroughly, int jobs);

    TOnPercentEvent fOnPercent;
    TOnPercentEvent fOnPercent2;
    std::function<void(int index)> fOnListed;
    QStringList fReferenceFiles;
    QString fReferenceProblem;
    bool fMissingReported = false;
    engine::TFileChecker fChecker;
    TRunCounts fLastRun;
    std::vector<suite::TUnreadableFolder> fUnreadableFolders;
};
