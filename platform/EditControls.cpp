// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditControls.h"

#include <QRegularExpression>

TLinesEdit::TLinesEdit(QWidget *parent) : QPlainTextEdit(parent) {}

QStringList TLinesEdit::Lines() const {
    const QString t = toPlainText();
    if (t.isEmpty())
        return {};
    return t.split(QLatin1Char('\n'));
}

void TLinesEdit::SetLines(const QStringList &lines) {
    setPlainText(lines.join(QLatin1Char('\n')));
}

void TLinesEdit::SetLinesText(const QString &text) {
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    // A text that ends with a line break has no further line.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    SetLines(lines);
}

void TElEdit::SetPasswordChar(QChar c) {
    fPasswordChar = c;
    setEchoMode(c.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}
