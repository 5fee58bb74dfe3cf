// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMyIniFile.h"

void TMyIniFile::ReadMultiString(const QString &section, QStringList &Strings) const {
    Strings = ReadSectionValues(section);
    if (!Strings.isEmpty() && Strings.last().startsWith(QLatin1String("i="))) {
        bool ok = false;
        Strings.last().mid(2).toInt(&ok);
        if (ok)
            Strings.removeLast();
    }
    for (QString &line : Strings) {
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq >= 0)
            line = line.mid(eq + 1);
    }
}

void TMyIniFile::WriteMultiString(const QString &section, const QStringList &Strings) {
    WriteMultiStringMax(section, Strings, int(Strings.size()));
}

void TMyIniFile::WriteMultiStringMax(const QString &section, const QStringList &Strings,
                                     int maxToWrite) {
    EraseSection(section);
    const int n = int(std::min<qsizetype>(Strings.size(), std::max(0, maxToWrite)));
    for (int i = 0; i < n; ++i)
        WriteOneString(section, Strings.at(i), i);
}

void TMyIniFile::WriteOneString(const QString &section, const QString &s, int n) {
    WriteString(section, QStringLiteral("[v%1]").arg(n), s);
}

TColor TMyIniFile::ReadColor(const QString &Key, const QString &ValueName, TColor DefValue) const {
    QString s = ReadString(Key, ValueName, ColorToString(DefValue));
    if (!s.contains(QLatin1Char('.'))) {
        if (s.startsWith(QLatin1Char('#')))
            s.remove(0, 1);
        return StringToColor(s).value_or(DefValue);
    }
    // "R.G.B": the third part may hold no further dot.
    const QStringList parts = s.split(QLatin1Char('.'));
    if (parts.size() != 3)
        return DefValue;
    int rgb[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        rgb[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return DefValue;
    }
    return (rgb[0] & 255) + (rgb[1] & 255) * 256 + (rgb[2] & 255) * 65536;
}

void TMyIniFile::WriteColor(const QString &Key, const QString &ValueName, TColor Value) {
    WriteString(Key, ValueName, ColorToString(Value));
}

const QStringList &TMyIniFile::HeaderLines() {
    static const QStringList lines{
        QStringLiteral("Automatically generated file. CAREFUL!!!"),
        QStringLiteral("A program from Tallowmere created this settings file."),
        QStringLiteral("; Delete it if you want."),
        QStringLiteral("; Modify it at your own risk!"),
    };
    return lines;
}

void TMyIniFile::UpdateFile() {
    QStringList lines = SectionLines();
    lines.prepend(QString());
    const QStringList &header = HeaderLines();
    for (qsizetype i = header.size() - 1; i >= 0; --i)
        if (!lines.contains(header.at(i), Qt::CaseInsensitive))
            lines.prepend(header.at(i));
    WriteLines(FileName(), lines);
}
