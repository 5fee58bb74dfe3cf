// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSetList.h"

#include "AppDrive.h"

#include <QFileInfo>

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

} // namespace app
