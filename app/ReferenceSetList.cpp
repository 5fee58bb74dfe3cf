// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSetList.h"

#include "AppDrive.h"
#include "File_utils.h"
#include "ProfileFile.h"
#include "ReferenceProfile.h"
#include "ReferenceSets.h"
#include "RunError.h"

#include <QFileInfo>

#include <cerrno>

namespace app {

namespace {

const QString kCount = QStringLiteral("count");

QString Key(const char *what, int n) {
    return QLatin1String(what) + QString::number(n);
}

} // namespace

void TReferenceSetList::SetSets(const QList<TNamedSet> &sets) {
    if (sets == fSets)
        return;
    fSets = sets;
    emit Changed();
}

QString TReferenceSetList::Summary() const {
    QStringList parts;
    for (const TNamedSet &s : fSets)
        parts << (s.profile ? QStringLiteral("%1: profile %2")
                                  .arg(s.name, QFileInfo(s.files.value(0)).fileName())
                            : QStringLiteral("%1: %2 %3")
                                  .arg(s.name)
                                  .arg(s.files.size())
                                  .arg(s.files.size() == 1 ? QStringLiteral("text")
                                                           : QStringLiteral("texts")));
    return parts.join(QStringLiteral("; "));
}

void TReferenceSetList::ReadOrWrite(TMyIniFile &ini, const QString &section, bool restore) {
    if (!restore) {
        // Written whole each time, so that no key of a removed set lingers.
        ini.EraseSection(section);
        ini.WriteInteger(section, kCount, int(fSets.size()));
        for (int n = 1; n <= fSets.size(); ++n) {
            const TNamedSet &s = fSets.at(n - 1);
            ini.WriteString(section, Key("name", n), s.name);
            ini.WriteBool(section, Key("profile", n), s.profile);
            ini.WriteInteger(section, Key("files", n), int(s.files.size()));
            for (int k = 1; k <= s.files.size(); ++k)
                ini.WriteString(section, Key("file", n) + '.' + QString::number(k),
                                CompressAppDrive(s.files.at(k - 1)));
        }
        return;
    }
    QList<TNamedSet> sets;
    // A hand-edited count is believed only as far as its sets are there.
    const int count = std::clamp(ini.ReadInteger(section, kCount, 0), 0, 1000);
    for (int n = 1; n <= count; ++n) {
        TNamedSet s;
        s.name = ini.ReadString(section, Key("name", n), QString()).trimmed();
        s.profile = ini.ReadBool(section, Key("profile", n), false);
        const int files = std::clamp(ini.ReadInteger(section, Key("files", n), 0), 0, 100000);
        for (int k = 1; k <= files; ++k) {
            const QString f =
                ini.ReadString(section, Key("file", n) + '.' + QString::number(k), QString());
            if (!f.isEmpty())
                s.files << ExpandAppDriveRoot(f);
        }
        if (!s.name.isEmpty() && !s.files.isEmpty())
            sets << s;
    }
    SetSets(sets);
}

QString FirstSetName() {
    return QStringLiteral("known good texts");
}

namespace {

engine::TDigraphProfile TextsProfile(const TNamedSet &set, const TSetsRequest &request) {
    engine::TFileChecker checker;
    const engine::TReferenceBuild build =
        engine::BuildReferenceProfile(set.files, request.encoding, request.minDigraphs, checker);
    switch (build.status) {
    case engine::TReferenceBuild::Status::Ok:
        return build.profile;
    case engine::TReferenceBuild::Status::Missing:
        throw suite::TRunError(build.missing, suite::ErrnoText(ENOENT));
    case engine::TReferenceBuild::Status::NotText:
        throw suite::TRunError(build.notText,
                               engine::NotTextCause(build.fileSize, build.textLength));
    case engine::TReferenceBuild::Status::NoDigraphs:
        break;
    }
    throw suite::TRunError(set.files.join(QStringLiteral(", ")),
                           QStringLiteral("the texts hold no letter pairs to compare with"));
}

engine::TDigraphProfile SavedProfile(const TNamedSet &set, const TSetsRequest &request) {
    const QString path = set.files.value(0);
    const engine::TProfileRead read = engine::ReadProfileFile(path);
    if (!read.saved)
        throw suite::TRunError(path, read.error);
    // Only the least count matters across sets: the encoding of each file
    // checked is the run's, whatever the references were read as.
    if (read.saved->min_digraphs != request.minDigraphs)
        throw suite::TRunError(
            path, QStringLiteral("the profile keeps letter pairs counted %1 times or more; the "
                                 "window needs %2")
                      .arg(read.saved->min_digraphs)
                      .arg(request.minDigraphs));
    return read.saved->profile;
}

} // namespace

std::shared_ptr<const engine::TReferenceSets> BuildRunSets(const TSetsRequest &request,
                                                           QString &setName) {
    auto sets = std::make_shared<engine::TReferenceSets>();
    if (request.first)
        sets->push_back(engine::MakeReferenceSet(FirstSetName(), *request.first));
    for (const TNamedSet &set : request.named) {
        setName = set.name;
        sets->push_back(engine::MakeReferenceSet(
            set.name, set.profile ? SavedProfile(set, request) : TextsProfile(set, request)));
    }
    setName.clear();
    return sets;
}

} // namespace app
