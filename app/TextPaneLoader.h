// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the text pane shows of a file: the whole text, or, for a huge file,
// its first part with a note that the rest is not shown, so a double-click
// never freezes the window or fills its memory. And the text around one
// byte of a file, for "Go to byte N": where that byte falls in the pane.

#include "TextFile.h"

#include <QString>
#include <cstdint>

namespace app {

// The most text the pane takes, in UTF-16 code units (8 MB of memory).
constexpr qsizetype kPaneTextLimit = 4 * 1024 * 1024;

struct TPaneText {
    QString text;
    // True when the file's text goes on beyond what `text` holds.
    bool cut = false;
};

// The text of `path` as the pane shows it, at most `maxUnits` of it, files
// without a byte-order mark read as `encoding`. Throws suite::TRunError when
// the file cannot be read.
TPaneText LoadPaneText(const QString &path, qsizetype maxUnits = kPaneTextLimit,
                       engine::TDefaultEncoding encoding = engine::TDefaultEncoding::Windows1252);

// The line the pane shows after a cut text.
QString PaneCutNote(qsizetype shownUnits);

// Where a byte of a file is in the pane: its line (from 0) and its column
// in UTF-16 code units, line breaks counted as the pane counts them (CR LF,
// CR or LF, each one break).
struct TPanePlace {
    qsizetype line = 0;
    qsizetype column = 0;
};

// The pane's text with byte `offset` of `path` in it. When the text before
// the byte is short and holds no NUL (where the pane's text ends), this is
// the text LoadPaneText gives (`around` false); otherwise it is the text of
// the lines around the byte, about `aroundBytes` either side, read from the
// middle of the file (`around` true, `firstByte` where it begins), so a byte
// deep in a huge file costs no more to show than its neighbourhood. NULs in
// such a text show as U+2400. Throws suite::TRunError when the file cannot
// be read.
struct TPaneTextAt {
    TPaneText pane;
    TPanePlace place;
    bool around = false;
    int64_t firstByte = 0;
};
TPaneTextAt LoadPaneTextAt(const QString &path, int64_t offset, engine::TDefaultEncoding encoding,
                           qsizetype maxUnits = kPaneTextLimit, int64_t aroundBytes = 64 * 1024);

// The line the pane shows above a text read from byte `firstByte`.
QString PaneAroundNote(int64_t firstByte);

} // namespace app
