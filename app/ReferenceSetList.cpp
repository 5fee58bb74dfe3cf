// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceSetList.h"

#include "AppDrive.h"

#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <algorithm>

namespace app {

namespace {

const QString kCount = QStringLiteral("count");

QString Key(const char *what, int n) {
    return QLatin1String(what) + QString::number(n);
}

// The positive number `text` is, or 0.
int Number(QStringView text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n > 0 && text.front().isDigit() ? n : 0;
}

// Per set number n that has a "nameN" key, the numbers k of its "fileN.k"
// keys, ascending.
using TSetKeys = QMap<int, QList<int>>;
TSetKeys SetKeys(const QStringList &keys) {
    TSetKeys sets;
    QHash<int, QList<int>> files;
    for (const QString &key : keys) {
        if (key.startsWith(QLatin1String("name"), Qt::CaseInsensitive)) {
            if (const int n = Number(QStringView(key).mid(4)))
                sets.insert(n, {});
        } else if (key.startsWith(QLatin1String("file"), Qt::CaseInsensitive)) {
            const qsizetype dot = key.indexOf(QLatin1Char('.'));
            const int n = dot < 0 ? 0 : Number(QStringView(key).mid(4, dot - 4));
            const int k = n == 0 ? 0 : Number(QStringView(key).mid(dot + 1));
            if (k > 0)
                files[n] << k;
        }
    }
    for (auto it = sets.begin(); it != sets.end(); ++it) {
        QList<int> &k = it.value();
        k = files.value(it.key());
        std::sort(k.begin(), k.end());
        k.erase(std::unique(k.begin(), k.end()), k.end());
    }
    return sets;
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
    // Only keys that are there are looked up: a hand-made section claiming
    // a thousand sets of a hundred thousand files each costs no more than
    // the lines it holds.
    const TSetKeys present = SetKeys(ini.ReadSectionKeys(section));
    const int count = ini.ReadInteger(section, kCount, 0);
    QList<TNamedSet> sets;
    int beyond = 0, filesBeyond = 0;
    for (auto it = present.cbegin(); it != present.cend() && it.key() <= count; ++it) {
        const int n = it.key();
        TNamedSet s;
        s.name = ini.ReadString(section, Key("name", n), QString()).trimmed();
        s.profile = ini.ReadBool(section, Key("profile", n), false);
        const int files = ini.ReadInteger(section, Key("files", n), 0);
        for (const int k : it.value()) {
            if (k > files)
                break;
            const QString f =
                ini.ReadString(section, Key("file", n) + '.' + QString::number(k), QString());
            if (f.isEmpty())
                continue;
            if (s.files.size() == kMaxSetFiles) {
                ++filesBeyond;
                continue;
            }
            s.files << ExpandAppDriveRoot(f);
        }
        if (s.name.isEmpty() || s.files.isEmpty())
            continue;
        if (sets.size() == kMaxSets)
            ++beyond;
        else
            sets << s;
    }
    fLoadProblem.clear();
    if (beyond > 0)
        fLoadProblem = QStringLiteral("It holds %1 reference sets; the window keeps the first %2 "
                                      "and leaves out the other %3.")
                           .arg(sets.size() + beyond)
                           .arg(kMaxSets)
                           .arg(beyond);
    if (filesBeyond > 0)
        fLoadProblem += QStringLiteral("%1A reference set keeps at most %2 files; %3 are left out.")
                            .arg(fLoadProblem.isEmpty() ? QString() : QStringLiteral(" "))
                            .arg(kMaxSetFiles)
                            .arg(filesBeyond);
    SetSets(sets);
}

} // namespace app
