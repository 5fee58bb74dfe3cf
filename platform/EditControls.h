// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The edit and memo classes the settings walk tells apart.
//
// The toolkit has two families: the standard edits (TCustomEdit, whose
// descendants include the memos) and the El edits (TCustomElEdit). Qt's
// line and text edits share no base, so each family is an interface that
// its Qt-based classes also implement; the walk finds them by cast.

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>

// The standard edit family.
class TCustomEdit {
public:
    virtual ~TCustomEdit() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString &t) = 0;
};

// The El edit family.
class TCustomElEdit {
public:
    virtual ~TCustomElEdit() = default;
    virtual QString Text() const = 0;
    virtual void SetText(const QString &t) = 0;
};

// A multi-line text held as lines, without line-break characters.
class TLinesEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit TLinesEdit(QWidget *parent = nullptr);
    QStringList Lines() const;
    void SetLines(const QStringList &lines);
    // Shows a text whose lines end in CR LF, LF or CR.
    void SetLinesText(const QString &text);
    void ClearLines() { clear(); }
};

class TEdit : public QLineEdit, public TCustomEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    QString Text() const override { return text(); }
    void SetText(const QString &t) override { setText(t); }
};

class TCustomMemo : public TLinesEdit, public TCustomEdit {
    Q_OBJECT
public:
    using TLinesEdit::TLinesEdit;
    QString Text() const override { return toPlainText(); }
    void SetText(const QString &t) override { SetLinesText(t); }
};

class TMemo : public TCustomMemo {
    Q_OBJECT
public:
    using TCustomMemo::TCustomMemo;
};

class TElEdit : public QLineEdit, public TCustomElEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;
    QString Text() const override { return text(); }
    void SetText(const QString &t) override { setText(t); }
    // "*" makes a password box; its text is stored encoded.
    QChar PasswordChar() const { return fPasswordChar; }
    void SetPasswordChar(QChar c);

private:
    QChar fPasswordChar;
};

class TElMemo : public TLinesEdit, public TCustomElEdit {
    Q_OBJECT
public:
    using TLinesEdit::TLinesEdit;
    QString Text() const override { return toPlainText(); }
    void SetText(const QString &t) override { SetLinesText(t); }
};
