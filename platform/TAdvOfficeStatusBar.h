#pragma once
// A status bar. With SimplePanel on it shows one text across the bar; the
// defined panels are hidden then.

#include <QLabel>
#include <QStatusBar>

class TAdvOfficeStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit TAdvOfficeStatusBar(QWidget *parent = nullptr)
        : QStatusBar(parent), fSimple(new QLabel(this)) {
        setSizeGripEnabled(false);
        fSimple->setTextFormat(Qt::PlainText);
        addWidget(fSimple, 1);
    }
    bool SimplePanel = true;
    QList<int> PanelWidths;
    QString SimpleText() const { return fSimple->text(); }
    void SetSimpleText(const QString &t) { fSimple->setText(t); }

private:
    QLabel *fSimple;
};
