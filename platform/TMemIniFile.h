// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A memory ini file over a UTF-16 little-endian text file.
//
// Every section and entry is held in memory: read once when the object is
// made, written only by UpdateFile(), whole, to a temporary file in the same
// folder that is then renamed over the old one. Section names and keys match
// without regard to case; entries keep the order in which they were first
// written. The file is written as UTF-16 LE; it is read as that, with or
// without its mark, and also as UTF-16 BE with its mark or as UTF-8 (a text
// editor may have saved it so). A file that is none of these well-formed
// (odd length, an unpaired surrogate, a NUL, a byte that is no UTF-8) raises
// TIniFileError and never anything worse.
//
// Every value reads back exactly as it was written. Most are written as they
// are; one with blanks at either end, a line break, a NUL or an unpaired
// surrogate, or one that begins and ends with a double quote, is written in
// double quotes with "\\" for a backslash and "\uXXXX" for each unit the file
// cannot hold. Only text of exactly that form is unquoted on reading, so the
// values of files written before keep their meaning.

#include "FileError.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// A settings file that cannot be read or written: which file, and why.
class TIniFileError : public platform::TFileError {
public:
    using TFileError::TFileError;
};

class TMemIniFile {
public:
    // How a file that exists but cannot be read is met: by raising
    // TIniFileError, or by renaming it aside (KeptAsideAs() says where) and
    // starting empty, so that writing a new file never destroys the user's.
    // When it cannot be renamed, or is not a regular file, it raises.
    enum class TOnBadFile { Raise, KeepAside };

    // A settings file is a few kilobytes; a larger one is not read (reading
    // it whole could exhaust memory), so none is written either.
    static constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

    explicit TMemIniFile(const QString &fileName, TOnBadFile onBad = TOnBadFile::Raise);
    virtual ~TMemIniFile() = default;

    const QString &FileName() const { return fFileName; }
    // KeepAside only: the name the unreadable file now has ("NAME.unreadable-
    // TIME"), and why it could not be read; both empty when it was read.
    const QString &KeptAsideAs() const { return fKeptAsideAs; }
    const QString &UnreadableCause() const { return fUnreadableCause; }

    QString ReadString(const QString &section, const QString &key, const QString &def) const;
    int ReadInteger(const QString &section, const QString &key, int def) const;
    // Read as an integer, any value but 0 being true.
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteBool(const QString &section, const QString &key, bool value);

    bool SectionExists(const QString &section) const;
    // The section's entries as "key=value" lines, in file order; empty when
    // the section is missing.
    QStringList ReadSectionValues(const QString &section) const;
    // The keys of the section's entries, in the same order.
    QStringList ReadSectionKeys(const QString &section) const;
    void EraseSection(const QString &section);

    // Every section as lines: "[name]", its entries (values quoted where
    // needed), an empty line.
    QStringList SectionLines() const;
    // Replaces the content by that of an ini text.
    void SetText(const QString &text);

    // Writes the whole file. Throws TIniFileError when it cannot.
    virtual void UpdateFile();

    // The text of a settings file's bytes (any of the encodings above).
    // Throws TIniFileError (with an empty path) naming what is wrong.
    static QString DecodeText(const QByteArray &bytes);
    // Writes `lines` as UTF-16 LE with FF FE, each followed by CR LF,
    // atomically. Throws TIniFileError, leaving the old file as it was, when
    // it cannot, or when the file would be larger than kMaxFileSize (as
    // UTF-16 a file read as UTF-8 may take twice its size).
    static void WriteLines(const QString &fileName, const QStringList &lines);

private:
    struct Entry {
        QString key;
        QString value;
        bool hasEquals = true;
        QString Line() const { return hasEquals ? key + QLatin1Char('=') + value : key; }
    };
    struct Section {
        QString name;
        std::vector<Entry> entries;
        // Each key, case-folded, to its first entry: a look-up costs the same
        // in a section of a hundred thousand entries as in one of ten.
        QHash<QString, size_t> index;
        void Add(Entry e);
    };
    Section *Find(const QString &section);
    const Section *Find(const QString &section) const;
    const Entry *FindEntry(const QString &section, const QString &key) const;

    void Load();
    void KeepAside(const QString &cause);

    QString fFileName;
    QString fKeptAsideAs;
    QString fUnreadableCause;
    std::vector<Section> fSections;
};
