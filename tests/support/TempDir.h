// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A temporary folder for one test, removed afterwards, with helpers to write
// fixture files into it.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TempDir {
public:
    TempDir();
    QString path() const { return fDir.path(); }
    // Writes `bytes` to `relative` (folders created), returns the full path.
    QString write(const QString &relative, const QByteArray &bytes) const;
    QString file(const QString &relative) const { return fDir.filePath(relative); }

private:
    QTemporaryDir fDir;
};

// UTF-16 little-endian bytes of `text`, with the FF FE mark.
QByteArray Utf16LeWithMark(const QString &text);
// UTF-16 big-endian bytes of `text`, with the FE FF mark.
QByteArray Utf16BeWithMark(const QString &text);

// Writes `bytes` to the file of exact name `path` (any bytes, not only
// UTF-8), failing the test when it cannot.
void WriteFileBytes(const QByteArray &path, const QByteArray &bytes);

// The lines of a text file (UTF-8, LF), without the empty one after the last
// LF; empty when the file cannot be read.
QStringList ReadLines(const QString &path);
