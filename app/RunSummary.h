// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts that tell what a run did: the one-line summary for the status
// bar, and what to say when a folder gave no files to check.

#include "file_crap_detector.h"

#include <QMap>
#include <QString>

namespace app {

enum class TRunEnd { Finished, Stopped };

// "Finished: 10 files checked; 3 suspect by the size test, 1 by the digraph
// check; 0 unreadable; 0.4 s." Stopped and failed runs say so and give the
// share of the list they reached. Figures in the user's locale. With the
// extended checks the damage suspects and the files too short to judge are
// counted too, apart: "…, 2 by the damage checks; 1 too short to judge; …".
QString RunSummary(const TFileCrapDetector::TRunCounts &counts, bool digraphCheck, TRunEnd end,
                   qint64 ms, bool extended = false);

// " Rows by code: digraph 2, size 3, unreadable 1." (the table's counts);
// empty when there are no rows.
QString CodeCountsNote(const QMap<QString, int> &counts);

// What to say instead of "no corrupt files" when `unreadable` files could
// not be checked and no other file is suspect.
QString UnreadableFilesNote(qsizetype unreadable);

// That `folder` gave no file to check, with a hint at "include subfolders"
// when it is off and the folder has subfolders.
QString NoFilesToCheck(const QString &folder, bool subfoldersIncluded);

} // namespace app
