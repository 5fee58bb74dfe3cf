// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the text pane shows of a file: the whole text, or, for a huge file,
// its first part with a note that the rest is not shown, so a double-click
// never freezes the window or fills its memory.

#include <QString>

namespace app {

// The most text the pane takes, in UTF-16 code units (8 MB of memory).
constexpr qsizetype kPaneTextLimit = 4 * 1024 * 1024;

struct TPaneText {
    QString text;
    // True when the file's text goes on beyond what `text` holds.
    bool cut = false;
};

// The text of `path` as the pane shows it, at most `maxUnits` of it. Throws
// suite::TRunError when the file cannot be read.
TPaneText LoadPaneText(const QString &path, qsizetype maxUnits = kPaneTextLimit);

// The line the pane shows after a cut text.
QString PaneCutNote(qsizetype shownUnits);

} // namespace app
