// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Output of brindle-scan: whole lines to standard output, written in large
// blocks. Once a write fails, Line() answers false and nothing more is
// written; Error() then says why. A closed pipe (EPIPE) is the reader's
// choice and ends the program quietly; any other cause (a full disk) is an
// error the program must report.

#include "FileCheck.h"

#include <QByteArray>
#include <QString>

namespace cli {

class TLineWriter {
public:
    explicit TLineWriter(int fd) : fFd(fd) {}
    ~TLineWriter() { Flush(); }
    // Appends one whole line (with its LF). False once the reader has gone.
    bool Line(const QByteArray &line);
    bool Flush();
    bool Closed() const { return fClosed; }
    // The errno of the write that failed, 0 while none has.
    int Error() const { return fError; }

private:
    int fFd;
    QByteArray fBuffer;
    bool fClosed = false;
    int fError = 0;
};

// One line for a file the check lists. `extended`: the extended run's
// fields and columns (see --help); a default run's lines never change.
// `tooShort`: the file is listed as "too short to judge", not as suspect.
QByteArray JsonLine(const QString &path, const engine::TVerdict &verdict, bool extended = false,
                    bool tooShort = false);
QByteArray TsvLine(const QString &path, const engine::TVerdict &verdict, bool extended = false,
                   bool tooShort = false);
// A figure as JSON and TSV write it: the shortest text that reads back as
// the same value, with a full stop whatever the locale.
QByteArray Figure(double value);
QByteArray Figure(float value);
QByteArray JsonString(const QString &s);
// `"path":"..."` with U+FFFD for each byte of the name that is not part of
// valid UTF-8, then, only for such a name, `,"path_bytes":"..."` with its
// exact bytes in base64.
QByteArray JsonPathFields(const QString &path);

} // namespace cli
