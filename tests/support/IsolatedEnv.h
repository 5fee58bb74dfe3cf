// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Points HOME and the XDG folders at a fresh temporary folder for the life
// of one test, so no test reads or writes the user's real settings or
// session. Child processes started meanwhile inherit the same folders. The
// variables get their old values back (or are unset again) at the end.

#include "TempDir.h"

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

class IsolatedEnv {
public:
    IsolatedEnv();
    ~IsolatedEnv();
    IsolatedEnv(const IsolatedEnv &) = delete;
    IsolatedEnv &operator=(const IsolatedEnv &) = delete;

    QString path() const { return fDir.path(); }
    const TempDir &dir() const { return fDir; }

private:
    TempDir fDir;
    std::map<QByteArray, std::optional<QByteArray>> fSaved;
};
