// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunSummary.h"

#include "FileNames.h"

#include <QDir>
#include <QLocale>

namespace app {

namespace {

QString Duration(qint64 ms, const QLocale &locale) {
    if (ms < 60'000)
        return locale.toString(double(ms) / 1000.0, 'f', ms < 10'000 ? 2 : 1) +
               QStringLiteral(" s");
    const qint64 s = (ms + 500) / 1000;
    return QStringLiteral("%1 min %2 s").arg(locale.toString(s / 60), locale.toString(s % 60));
}

} // namespace

QString RunSummary(const TFileCrapDetector::TRunCounts &counts, bool digraphCheck, TRunEnd end,
                   qint64 ms, bool extended) {
    const QLocale locale;
    const auto n = [&](qsizetype v) { return locale.toString(qlonglong(v)); };
    QString text;
    switch (end) {
    case TRunEnd::Finished:
        text = QStringLiteral("Finished: %1 %2 checked")
                   .arg(n(counts.checked),
                        counts.checked == 1 ? QStringLiteral("file") : QStringLiteral("files"));
        break;
    case TRunEnd::Stopped:
        text = QStringLiteral("Stopped: ");
        break;
    }
    if (end != TRunEnd::Finished) {
        // A run stopped while the folder was still being walked does not
        // know how many files it held.
        text +=
            counts.files < 0
                ? QStringLiteral("%1 files checked").arg(n(counts.checked))
                : QStringLiteral("%1 of %2 files checked").arg(n(counts.checked), n(counts.files));
    }
    text += QStringLiteral("; %1 suspect by the size test").arg(n(counts.size_suspects));
    text += digraphCheck
                ? QStringLiteral(", %1 by the digraph check").arg(n(counts.digraph_suspects))
                : QStringLiteral(", digraph check off");
    if (extended)
        text += QStringLiteral(", %1 by the damage checks; %2 too short to judge")
                    .arg(n(counts.damage_suspects), n(counts.too_short));
    text += QStringLiteral("; %1 unreadable; %2.").arg(n(counts.unreadable), Duration(ms, locale));
    return text;
}

QString CodeCountsNote(const QMap<QString, int> &counts) {
    if (counts.isEmpty())
        return QString();
    const QLocale locale;
    QStringList parts;
    for (auto it = counts.begin(); it != counts.end(); ++it)
        parts << it.key() + QLatin1Char(' ') + locale.toString(it.value());
    return QStringLiteral(" Rows by code: %1.").arg(parts.join(QStringLiteral(", ")));
}

QString UnreadableFilesNote(qsizetype unreadable) {
    const QString n = QLocale().toString(qlonglong(unreadable));
    return unreadable == 1
               ? QStringLiteral("1 file could not be read; it is listed as unreadable, with the "
                                "cause. No file that was read is suspect.")
               : QStringLiteral("%1 files could not be read; they are listed as unreadable, "
                                "with the cause. No file that was read is suspect.")
                     .arg(n);
}

QString NoFilesToCheck(const QString &folder, bool subfoldersIncluded) {
    QString text = QStringLiteral("No files were found to check in %1.")
                       .arg(QDir::toNativeSeparators(suite::DisplayFileName(folder)));
    // Hidden folders are left out of the walk, so they do not count here.
    if (!subfoldersIncluded && !QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
        text += QStringLiteral("\nIts subfolders were not searched: tick \"include subfolders\" "
                               "to check the files in them.");
    return text;
}

} // namespace app
