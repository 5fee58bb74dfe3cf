// SPDX-License-Identifier: GPL-3.0-or-later
#include "MyStyledTMSComponents.h"

#include "RuntimeServices.h"
#include "THeaderControl.h"

#include <QPainter>

QString ShortenToWidth(const QString &text, const QFontMetrics &fm, int maxWidth) {
    if (fm.horizontalAdvance(text) <= maxWidth)
        return text;
    const QString dots = QStringLiteral("...");
    // Remove ever more characters from the middle until the rest fits.
    for (qsizetype removed = 1; removed <= text.size(); ++removed) {
        const qsizetype keep = text.size() - removed;
        const QString s = text.left((keep + 1) / 2) + dots + text.right(keep / 2);
        if (fm.horizontalAdvance(s) <= maxWidth)
            return s;
    }
    return dots;
}

TStyledColumnListbox::TStyledColumnListbox(QWidget *parent) : TListBox(parent) {
    // Drawing goes through the list box's own owner-draw slot; a caller that
    // installs its own drawing there takes over every entry, as it should.
    SetOwnerDraw(ItemHeight(), [this](QPainter &canvas, int index, const QRect &r, bool selected) {
        DrawItem(canvas, index, r, selected);
    });
    SetComponentStyle(0);
}

void TStyledColumnListbox::SetComponentStyle(TTMSStyle AStyle) {
    fTextColour = StyleTextColour(AStyle);
    fNormalBack = StyleBackColour(AStyle);
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(fNormalBack));
    setPalette(p);
    fSelectionColour = StyleSelectionColour(AStyle);
    fSelectionTextColour = StyleSelectionTextColour(AStyle);
    viewport()->update();
}

void TStyledColumnListbox::SetItems(const QStringList &items) {
    clear();
    addItems(items);
    viewport()->update();
}

void TStyledColumnListbox::SetStringData(TArrayOfStrings *sdata, THeaderControl *AHeaderControl,
                                         int current) {
    clear();
    if (!sdata || !AHeaderControl || current < 0 || current >= int(sdata->size()))
        return;
    SetHeaderControl(AHeaderControl);
    fCurrentStringSet = current;
    fCurrentStrings = sdata;
    SetItems((*sdata)[size_t(current)]);
}

void TStyledColumnListbox::SetCurrentStringSet(int index) {
    if (!fCurrentStrings || index < 0 || index >= int(fCurrentStrings->size()))
        return;
    fCurrentStringSet = index;
    SetItems((*fCurrentStrings)[size_t(index)]);
}

void TStyledColumnListbox::SetColumnWidths(int w) {
    if (w == fColumnWidths)
        return;
    fColumnWidths = w;
    viewport()->update();
}

void TStyledColumnListbox::SetHeaderControl(THeaderControl *h) {
    FHeaderControl = h;
    if (!h)
        return;
    h->OnDrawSection = [this](QPainter &c, int i, const QRect &r) { DrawHeaderSection(c, i, r); };
    h->OnSectionClick = [this](int i) { HeaderSectionClick(i); };
    h->OnSectionResize = [this](int) { HeaderResize(); };
    h->OnResize = [this] { HeaderResize(); };
}

void TStyledColumnListbox::DrawItem(QPainter &canvas, int Index, QRect R, bool selected) {
    if (Index < 0 || Index >= count())
        return;
    QString text = item(Index)->text();
    if (OnConvertItemText)
        text = OnConvertItemText(this, Index, text);
    canvas.setPen(ToQColor(selected ? fSelectionTextColour : fTextColour));
    canvas.fillRect(R, ToQColor(selected ? fSelectionColour : fNormalBack));

    const int originalLeft = R.left();
    const QFontMetrics fm = canvas.fontMetrics();
    // A number ends 10 pixels before its column's right edge.
    auto drawField = [&](const QString &field, int left, int right) {
        const int x = IsANumber(field) ? right - fm.horizontalAdvance(field) - 10 : left;
        canvas.drawText(QRect(x, R.top(), std::max(0, right - x), R.height()),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, field);
    };
    const QStringList fields = text.split(u'\t');
    for (qsizetype i = 0; i + 1 < fields.size(); ++i) {
        // Shortened to its own column, so it never runs into the next one.
        drawField(ShortenToWidth(fields[i], fm, fColumnWidths), R.left(), R.left() + fColumnWidths);
        R.setLeft(R.left() + fColumnWidths);
    }
    drawField(fields.back(), R.left(), R.right() + 1);

    const int controlHeight = viewport()->height();
    if (Index == count() - 1 && R.bottom() + 1 < controlHeight) {
        const QColor back = palette().color(QPalette::Base);
        canvas.setPen(back);
        canvas.fillRect(
            QRect(QPoint(originalLeft, R.bottom() + 1), QPoint(R.right(), controlHeight - 1)),
            back);
    }
}

void TStyledColumnListbox::DrawHeaderSection(QPainter &canvas, int section, const QRect &H) {
    canvas.setPen(Qt::white);
    canvas.fillRect(H, ToQColor(StyleHeaderColour(CurrentTMSStyle)));
    canvas.setPen(ToQColor(StyleHeaderTextColour(CurrentTMSStyle)));
    const QFontMetrics fm = canvas.fontMetrics();
    const QString text = FHeaderControl ? FHeaderControl->SectionText(section) : QString();
    int x;
    if (section == 0) {
        const int width = FHeaderControl ? FHeaderControl->SectionWidth(0) : H.width();
        canvas.drawText(
            QPoint(H.left() + (width - fm.horizontalAdvance(text)) / 2, H.top() + fm.ascent()),
            text);
        x = H.right() + 1;
    } else {
        canvas.drawText(QPoint(H.left() + 5, H.top() + fm.ascent()), text);
        x = FHeaderControl ? FHeaderControl->width() : H.right() + 1;
    }
    if (section == fCurrentSortColumn && section < int(fSortAscending.size()))
        canvas.drawText(QPoint(x - 20, H.top() + fm.ascent()), fSortAscending[size_t(section)]
                                                                   ? QStringLiteral("\u02C4")
                                                                   : QStringLiteral("\u02C5"));
    if (section == 0) {
        canvas.setPen(Qt::white);
        canvas.drawLine(x - 4, H.top() + 1, x - 4, H.bottom());
    }
}

void TStyledColumnListbox::HeaderSectionClick(int section) {
    if (!OnSortTheColumn || section < 0 || section >= int(fSortAscending.size()))
        return;
    fCurrentSortColumn = section;
    OnSortTheColumn(this, section, fSortAscending[size_t(section)]);
    if (fCurrentStrings && section < int(fCurrentStrings->size())) {
        QStringList copy;
        for (int i = 0; i < count(); ++i)
            copy.append(item(i)->text());
        (*fCurrentStrings)[size_t(section)] = copy;
    }
    fSortAscending[size_t(section)] = !fSortAscending[size_t(section)];
    viewport()->update();
    if (FHeaderControl)
        FHeaderControl->viewport()->update();
}

void TStyledColumnListbox::HeaderResize() {
    if (FHeaderControl && FHeaderControl->SectionCount() > 0) {
        SetColumnWidths(FHeaderControl->SectionWidth(0));
        viewport()->update();
    }
}
