// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The named reference sets the user adds beside the known good text files
// (one set per language, say), kept in the settings file, and the sets a
// run under the extended checks judges files against.
//
// Each named set is a list of known good texts or one saved profile. The
// window's known good text files stay the first set; "Built-in languages"
// adds the shipped sets after the user's own.

#include "FileCheck.h"
#include "ReferenceProfile.h"
#include "TMyIniFile.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace app {

struct TNamedSet {
    QString name;
    // Known good texts, or (when `profile`) one saved profile file; a run
    // tells them apart by the profile's magic, so the flag only says how
    // the set was added.
    QStringList files;
    bool profile = false;
    bool operator==(const TNamedSet &) const = default;
};

// The named sets, a component of the window: the settings walk stores and
// restores them under the component's name.
class TReferenceSetList : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    QList<TNamedSet> Sets() const { return fSets; }
    void SetSets(const QList<TNamedSet> &sets);
    // "German: 3 texts; Spanish: profile es.profile", for a tooltip; empty
    // when there are no sets.
    QString Summary() const;

    // Reads or writes the sets in `section`: "count", then per set n from 1
    // "nameN", "profileN" (1 for a saved profile) and its files "fileN.1",
    // "fileN.2", …. A missing or damaged section gives no sets.
    void ReadOrWrite(TMyIniFile &ini, const QString &section, bool restore);

signals:
    void Changed();

private:
    QList<TNamedSet> fSets;
};

} // namespace app
