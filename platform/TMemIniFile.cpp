// SPDX-License-Identifier: GPL-3.0-or-later
#include "TMemIniFile.h"

#include "AtomicFile.h"
#include "ByteOrderMark.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool Blank(QChar c) {
    return c.unicode() <= 0x20;
}

// Trims blanks and control characters from both ends.
QString Trim(const QString &s) {
    qsizetype b = 0, e = s.size();
    while (b < e && Blank(s.at(b)))
        ++b;
    while (e > b && Blank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

// A key or section name may not hold a line break (it would end its line in
// the file and could open a section of its own there), nor a code unit the
// reader refuses (a NUL, an unpaired surrogate).
QString OneLine(QString s) {
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isNull() || c.isSurrogate())
            s[i] = QChar::ReplacementCharacter;
    }
    return s;
}

// Whether code unit i of `s` cannot stand in the file as it is: a line break,
// a NUL or half of a surrogate pair whose other half is missing.
bool Unwritable(const QString &s, qsizetype i) {
    const QChar c = s.at(i);
    if (c.isHighSurrogate())
        return i + 1 >= s.size() || !s.at(i + 1).isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !s.at(i - 1).isHighSurrogate();
    return c.isNull() || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

bool LooksQuoted(const QString &s) {
    return s.size() >= 2 && s.front() == QLatin1Char('"') && s.back() == QLatin1Char('"');
}

// A value is written as it is unless it would not read back the same: blanks
// at either end (the reader trims them), a code unit the file cannot hold, or
// a look of being quoted. Then it is written in double quotes, with "\" as
// "\\" and each unwritable unit as "\uXXXX" inside.
QString EncodeValue(const QString &v) {
    bool quote = !v.isEmpty() && (Blank(v.front()) || Blank(v.back()) || LooksQuoted(v));
    for (qsizetype i = 0; i < v.size() && !quote; ++i)
        quote = Unwritable(v, i);
    if (!quote)
        return v;
    QString out;
    out.reserve(v.size() + 2);
    out += QLatin1Char('"');
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v.at(i) == QLatin1Char('\\'))
            out += QLatin1String("\\\\");
        else if (Unwritable(v, i))
            out += QLatin1String("\\u") +
                   QStringLiteral("%1").arg(v.at(i).unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            out += v.at(i);
    }
    out += QLatin1Char('"');
    return out;
}

// The value a stored text stands for. Only what EncodeValue writes is
// unquoted; any other text, however it looks (files written before values
// were quoted hold paths such as "C:\a"), is the value itself.
QString DecodeValue(const QString &stored) {
    if (!LooksQuoted(stored))
        return stored;
    QString v;
    v.reserve(stored.size() - 2);
    for (qsizetype i = 1; i < stored.size() - 1; ++i) {
        const QChar c = stored.at(i);
        if (c != QLatin1Char('\\')) {
            v += c;
            continue;
        }
        if (i + 1 < stored.size() - 1 && stored.at(i + 1) == QLatin1Char('\\')) {
            v += c;
            ++i;
            continue;
        }
        bool ok = false;
        const ushort u = i + 5 < stored.size() - 1 && stored.at(i + 1) == QLatin1Char('u')
                             ? stored.mid(i + 2, 4).toUShort(&ok, 16)
                             : 0;
        if (!ok)
            return stored;
        v += QChar(u);
        i += 5;
    }
    return EncodeValue(v) == stored ? v : stored;
}

bool Same(const QString &a, const QString &b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A key as the index holds it: two keys that Same() matches fold alike.
QString Folded(const QString &key) {
    return key.toCaseFolded();
}

} // namespace

TMemIniFile::TMemIniFile(const QString &fileName, TOnBadFile onBad) : fFileName(fileName) {
    QFileInfo info(fileName);
    if (!info.exists())
        return;
    if (!info.isFile())
        throw TIniFileError(fileName, QStringLiteral("not a regular file"));
    try {
        Load();
    } catch (const TIniFileError &e) {
        fSections.clear();
        if (onBad == TOnBadFile::Raise)
            throw;
        KeepAside(e.cause());
    }
}

void TMemIniFile::Load() {
    if (QFileInfo(fFileName).size() > kMaxFileSize)
        throw TIniFileError(fFileName, QStringLiteral("too large for a settings file"));
    QFile f(fFileName);
    if (!f.open(QIODevice::ReadOnly))
        throw TIniFileError(fFileName, f.errorString());
    const QByteArray bytes = f.read(kMaxFileSize + 1);
    if (f.error() != QFileDevice::NoError)
        throw TIniFileError(fFileName, f.errorString());
    if (bytes.size() > kMaxFileSize)
        throw TIniFileError(fFileName, QStringLiteral("too large for a settings file"));
    try {
        SetText(DecodeText(bytes));
    } catch (const TIniFileError &e) {
        throw TIniFileError(fFileName, e.cause());
    }
}

void TMemIniFile::KeepAside(const QString &cause) {
    const QString stem = fFileName + QStringLiteral(".unreadable-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QByteArray from = QFile::encodeName(fFileName);
    for (int n = 1; n < 100; ++n) {
        const QString aside = n == 1 ? stem : stem + QLatin1Char('-') + QString::number(n);
        const QByteArray to = QFile::encodeName(aside);
        // Never over an earlier file kept aside.
        int done =
            ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (done != 0 && (errno == EINVAL || errno == ENOSYS)) // a file system without it
            done = QFileInfo::exists(aside) ? (errno = EEXIST, -1)
                                            : ::rename(from.constData(), to.constData());
        if (done == 0) {
            fKeptAsideAs = aside;
            fUnreadableCause = cause;
            return;
        }
        if (errno != EEXIST)
            break;
    }
    throw TIniFileError(fFileName, cause + QStringLiteral("; it cannot be kept aside: ") +
                                       QString::fromLocal8Bit(std::strerror(errno)));
}

namespace {

// Strict UTF-16 of either byte order: a NUL or an unpaired surrogate is no
// settings text. `structure` tells whether a line break or "[" was met;
// `mark` is the length of the mark before `p`, for the byte positions named.
QString DecodeUtf16(const unsigned char *p, qsizetype n, qsizetype mark, bool le, bool &structure) {
    if (n % 2 != 0)
        throw TIniFileError(QString(), QStringLiteral("odd length, not UTF-16 text"));
    const auto unit = [p, le](qsizetype i) {
        return le ? char16_t(p[i] | (p[i + 1] << 8)) : char16_t((p[i] << 8) | p[i + 1]);
    };
    QString text;
    text.reserve(n / 2);
    structure = false;
    for (qsizetype i = 0; i < n; i += 2) {
        const char16_t u = unit(i);
        if (u == 0)
            throw TIniFileError(QString(),
                                QStringLiteral("a NUL character at byte %1").arg(mark + i));
        if (QChar::isHighSurrogate(u)) {
            const char16_t next = i + 3 < n ? unit(i + 2) : 0;
            if (!QChar::isLowSurrogate(next))
                throw TIniFileError(
                    QString(), QStringLiteral("an unpaired surrogate at byte %1").arg(mark + i));
            text.append(QChar(u));
            text.append(QChar(next));
            i += 2;
            continue;
        }
        if (QChar::isLowSurrogate(u))
            throw TIniFileError(QString(),
                                QStringLiteral("an unpaired surrogate at byte %1").arg(mark + i));
        if (u == u'\n' || u == u'\r' || u == u'[')
            structure = true;
        text.append(QChar(u));
    }
    return text;
}

// Strict UTF-8, no NUL.
QString DecodeUtf8(QByteArrayView bytes) {
    if (bytes.contains('\0'))
        throw TIniFileError(QString(), QStringLiteral("a NUL character in UTF-8 text"));
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw TIniFileError(QString(), QStringLiteral("neither UTF-16 nor valid UTF-8 text"));
    return text;
}

} // namespace

QString TMemIniFile::DecodeText(const QByteArray &bytes) {
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const qsizetype n = bytes.size();
    bool structure = false;
    switch (platform::ByteOrderMarkOf(p, size_t(n))) {
    case platform::TByteOrderMark::Utf16LE:
        return DecodeUtf16(p + 2, n - 2, 2, true, structure);
    case platform::TByteOrderMark::Utf16BE:
        return DecodeUtf16(p + 2, n - 2, 2, false, structure);
    case platform::TByteOrderMark::Utf8:
        return DecodeUtf8(QByteArrayView(bytes).sliced(3));
    case platform::TByteOrderMark::None:
        break;
    }
    // Without a mark: UTF-16 LE as this program wrote it before it wrote the
    // mark, else UTF-8. 8-bit or UTF-8 text read as UTF-16 gives a line of
    // CJK-like units with no line break and no bracket, so it is told apart.
    try {
        QString text = DecodeUtf16(p, n, 0, true, structure);
        if (text.isEmpty() || structure)
            return text;
    } catch (const TIniFileError &) {
    }
    return DecodeUtf8(bytes);
}

void TMemIniFile::SetText(const QString &text) {
    fSections.clear();
    Section *current = nullptr;
    qsizetype start = 0;
    const qsizetype n = text.size();
    while (start <= n) {
        qsizetype end = start;
        while (end < n && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        const QString line = Trim(text.mid(start, end - start));
        if (end < n && text.at(end) == QLatin1Char('\r') && end + 1 < n &&
            text.at(end + 1) == QLatin1Char('\n'))
            ++end;
        start = end + 1;
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        // A header is "[name]" with no other "]": an entry such as
        // "[v0]=C:\a]" begins with "[" and ends with "]" but is not one.
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')) &&
            line.indexOf(QLatin1Char(']')) == line.size() - 1) {
            const QString name = Trim(line.mid(1, line.size() - 2));
            current = Find(name);
            if (!current) {
                fSections.push_back({name, {}, {}});
                current = &fSections.back();
            }
            continue;
        }
        if (!current)
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            current->Add({line, QString(), false});
        else
            current->Add({Trim(line.left(eq)), DecodeValue(Trim(line.mid(eq + 1))), true});
    }
}

void TMemIniFile::Section::Add(Entry e) {
    if (e.hasEquals) {
        const QString key = Folded(e.key);
        if (!index.contains(key))
            index.insert(key, entries.size());
    }
    entries.push_back(std::move(e));
}

TMemIniFile::Section *TMemIniFile::Find(const QString &section) {
    for (Section &s : fSections)
        if (Same(s.name, section))
            return &s;
    return nullptr;
}

const TMemIniFile::Section *TMemIniFile::Find(const QString &section) const {
    return const_cast<TMemIniFile *>(this)->Find(section);
}

const TMemIniFile::Entry *TMemIniFile::FindEntry(const QString &section, const QString &key) const {
    const Section *s = Find(section);
    if (!s)
        return nullptr;
    const auto at = s->index.constFind(Folded(key));
    return at == s->index.cend() ? nullptr : &s->entries[*at];
}

QString TMemIniFile::ReadString(const QString &section, const QString &key,
                                const QString &def) const {
    const Entry *e = FindEntry(section, key);
    return e ? e->value : def;
}

int TMemIniFile::ReadInteger(const QString &section, const QString &key, int def) const {
    const Entry *e = FindEntry(section, key);
    if (!e)
        return def;
    bool ok = false;
    const int v = e->value.toInt(&ok, 10);
    return ok ? v : def;
}

bool TMemIniFile::ReadBool(const QString &section, const QString &key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TMemIniFile::WriteString(const QString &section, const QString &key, const QString &value) {
    Section *s = Find(section);
    if (!s) {
        fSections.push_back({OneLine(section), {}, {}});
        s = &fSections.back();
    }
    if (const auto at = s->index.constFind(Folded(key)); at != s->index.cend()) {
        s->entries[*at].value = value;
        return;
    }
    s->Add({OneLine(key), value, true});
}

void TMemIniFile::WriteInteger(const QString &section, const QString &key, int value) {
    WriteString(section, key, QString::number(value));
}

void TMemIniFile::WriteBool(const QString &section, const QString &key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TMemIniFile::SectionExists(const QString &section) const {
    return Find(section) != nullptr;
}

QStringList TMemIniFile::ReadSectionValues(const QString &section) const {
    QStringList out;
    if (const Section *s = Find(section))
        for (const Entry &e : s->entries)
            out.append(e.Line());
    return out;
}

QStringList TMemIniFile::ReadSectionKeys(const QString &section) const {
    QStringList out;
    if (const Section *s = Find(section))
        for (const Entry &e : s->entries)
            out.append(e.hasEquals ? e.key : QString());
    return out;
}

void TMemIniFile::EraseSection(const QString &section) {
    for (auto it = fSections.begin(); it != fSections.end(); ++it)
        if (Same(it->name, section)) {
            fSections.erase(it);
            return;
        }
}

QStringList TMemIniFile::SectionLines() const {
    QStringList lines;
    for (const Section &s : fSections) {
        lines.append(QLatin1Char('[') + s.name + QLatin1Char(']'));
        for (const Entry &e : s.entries)
            lines.append(e.hasEquals ? e.key + QLatin1Char('=') + EncodeValue(e.value) : e.key);
        lines.append(QString());
    }
    return lines;
}

void TMemIniFile::UpdateFile() {
    WriteLines(fFileName, SectionLines());
}

void TMemIniFile::WriteLines(const QString &fileName, const QStringList &lines) {
    QByteArray bytes("\xFF\xFE", 2);
    auto put = [&bytes](char16_t u) {
        bytes.append(char(u & 0xFF));
        bytes.append(char(u >> 8));
    };
    for (const QString &line : lines) {
        for (QChar c : line)
            put(c.unicode());
        put(u'\r');
        put(u'\n');
        if (bytes.size() > kMaxFileSize)
            throw TIniFileError(fileName,
                                QStringLiteral("the settings would take more than the %1 bytes a "
                                               "settings file may hold; the file is left as it was")
                                    .arg(kMaxFileSize));
    }
    if (const QString cause = platform::WriteFileAtomically(fileName, bytes); !cause.isEmpty())
        throw TIniFileError(fileName, cause);
}
