// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextPaneLoader.h"

#include "File_utils.h"
#include "RunError.h"
#include "TextFile.h"

#include <QLocale>

#include <cerrno>

namespace app {

TPaneText LoadPaneText(const QString &path, qsizetype maxUnits) {
    engine::TTextFile file;
    if (!file.Open(path))
        throw suite::TRunError(path, suite::ErrnoText(ENOENT));
    TPaneText pane;
    pane.text = file.ReadTextStart(engine::TDefaultEncoding::Windows1252, maxUnits, pane.cut);
    return pane;
}

QString PaneCutNote(qsizetype shownUnits) {
    return QStringLiteral("[The text is cut here: only its first %1 characters are shown.]")
        .arg(QLocale().toString(shownUnits));
}

} // namespace app
