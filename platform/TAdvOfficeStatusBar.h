// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A status bar. With SimplePanel on it shows one text across the bar; the
// defined panels are hidden then. A text longer than the bar is shown cut
// with "…"; SimpleText() keeps it whole.

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

// One line of plain text, elided on the right to the label's width.
class TElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit TElidedLabel(QWidget *parent = nullptr) : QLabel(parent) {
        setTextFormat(Qt::PlainText);
        // The text never widens the bar (or the window); it is cut instead.
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        setMinimumWidth(1);
    }
    const QString &FullText() const { return fFull; }
    void SetFullText(const QString &t) {
        fFull = t;
        Elide();
    }

protected:
    void resizeEvent(QResizeEvent *e) override {
        QLabel::resizeEvent(e);
        Elide();
    }
    void changeEvent(QEvent *e) override {
        QLabel::changeEvent(e);
        if (e->type() == QEvent::FontChange)
            Elide();
    }

private:
    void Elide() { setText(fontMetrics().elidedText(fFull, Qt::ElideRight, width())); }
    QString fFull;
};

class TAdvOfficeStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TAdvOfficeStatusBar(QWidget *parent = nullptr)
        : QStatusBar(parent), fSimple(new TElidedLabel(this)) {
        setSizeGripEnabled(false);
        addWidget(fSimple, 1);
    }
    bool SimplePanel = true;
    QList<int> PanelWidths;
    QString SimpleText() const { return fSimple->FullText(); }
    void SetSimpleText(const QString &t) { fSimple->SetFullText(t); }
    // What the bar shows of the text: all of it, or its start and "…".
    QString ShownText() const { return fSimple->text(); }

private:
    TElidedLabel *fSimple;
};
