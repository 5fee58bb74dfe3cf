// SPDX-License-Identifier: GPL-3.0-or-later
// The reference-sets section of the window's settings file, as a hand or a
// hostile tester may write it: any text is read without a crash and within
// the bounds a settings file may hold, in time that follows the lines it
// holds (not the counts it claims), and the sets read are written back so
// that they read the same.

#include "FuzzSupport.h"
#include "ReferenceSetList.h"
#include "TMyIniFile.h"

#include <QCoreApplication>

#include <cstdint>

namespace {

const QString kSection = QStringLiteral("ReferenceSets");

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_reference_sets";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    QString text;
    try {
        text = TMemIniFile::DecodeText(
            QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    } catch (const TIniFileError &e) {
        FUZZ_CHECK(!e.cause().isEmpty());
        return 0;
    }
    // The input is the section's body, so that the fuzzer spends its time
    // on keys and counts rather than on finding the header.
    TMyIniFile ini(QStringLiteral("/nonexistent/x.ini"));
    ini.SetText(QLatin1Char('[') + kSection + QStringLiteral("]\r\n") + text);
    app::TReferenceSetList read;
    read.ReadOrWrite(ini, kSection, true);
    const QList<app::TNamedSet> sets = read.Sets();
    FUZZ_CHECK(sets.size() <= app::TReferenceSetList::kMaxSets);
    qsizetype files = 0;
    for (const app::TNamedSet &s : sets) {
        FUZZ_CHECK(!s.name.isEmpty() && s.name == s.name.trimmed());
        FUZZ_CHECK(!s.files.isEmpty() && s.files.size() <= app::TReferenceSetList::kMaxSetFiles);
        files += s.files.size();
    }
    // Every file kept came from a line of its own.
    FUZZ_CHECK(files <= ini.ReadSectionKeys(kSection).size());

    TMyIniFile out(QStringLiteral("/nonexistent/y.ini"));
    read.ReadOrWrite(out, kSection, false);
    TMyIniFile back(QStringLiteral("/nonexistent/z.ini"));
    back.SetText(out.SectionLines().join(QStringLiteral("\r\n")));
    app::TReferenceSetList again;
    again.ReadOrWrite(back, kSection, true);
    FUZZ_CHECK(again.Sets() == sets);
    FUZZ_CHECK(again.LoadProblem().isEmpty());
    return 0;
}
