// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Output of brindle-scan: whole lines to standard output, written in large
// blocks. Once a write fails, Line() answers false and nothing more is
// written; Error() then says why. A closed pipe (EPIPE) is the reader's
// choice and ends the program quietly; any other cause (a full disk) is an
// error the program must report.

#include "SuspectLine.h"

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

// The lines themselves are the engine's, shared with the window's Copy and
// Save list as.
using engine::Figure;
using engine::JsonLine;
using engine::JsonPathFields;
using engine::JsonString;
using engine::TsvLine;

} // namespace cli
