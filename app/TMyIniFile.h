// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window's settings file: a memory ini file whose file carries four
// header lines and an empty line before the sections.

#include "Graphics.h"
#include "TMemIniFile.h"

#include <QStringList>

class TMyIniFile : public TMemIniFile {
public:
    // Reads `an_ini_file` when it exists; throws TIniFileError when it
    // exists but cannot be read, unless told to keep it aside instead.
    explicit TMyIniFile(const QString &an_ini_file, TOnBadFile onBad = TOnBadFile::Raise)
        : TMemIniFile(an_ini_file, onBad) {}

    // The lines of a list stored in `section` by WriteMultiString: every
    // entry's value (a line without "=" as it is), less a closing "i" entry.
    void ReadMultiString(const QString &section, QStringList &Strings) const;
    // Replaces `section` by the lines as [v0], [v1], …; the section moves to
    // the end of the file.
    void WriteMultiString(const QString &section, const QStringList &Strings);
    void WriteMultiStringMax(const QString &section, const QStringList &Strings, int maxToWrite);
    void WriteOneString(const QString &section, const QString &s, int n);

    // A colour as its name or "$" and 8 hex digits; read back also from
    // "#" forms and "R.G.B". A text that is no colour reads as DefValue.
    TColor ReadColor(const QString &Key, const QString &ValueName, TColor DefValue) const;
    void WriteColor(const QString &Key, const QString &ValueName, TColor Value);

    // Writes the header lines, an empty line and the sections, atomically.
    void UpdateFile() override;

    static const QStringList &HeaderLines();
};
