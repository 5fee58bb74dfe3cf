#pragma once
// A temporary folder for one test, removed afterwards, with helpers to write
// fixture files into it.

#include <QByteArray>
#include <QString>
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
