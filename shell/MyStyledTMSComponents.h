// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TStyledColumnListbox: a list box that draws tab-separated entries in
// columns under a header, in the colours of the current visual style, and
// sorts on header clicks through its owner.

#include "ListControls.h"
#include "TMSStyles.h"

#include <QStringList>
#include <array>
#include <functional>
#include <vector>

class THeaderControl;

using TArrayOfStrings = std::vector<QStringList>;
using TOnConvertItemText =
    std::function<QString(QObject *Sender, int Index, const QString &current)>;
using TSortStringsOnColumn = std::function<void(QObject *Sender, int column, bool ascending)>;

class TStyledColumnListbox : public TListBox {
    Q_OBJECT
public:
    explicit TStyledColumnListbox(QWidget *parent = nullptr);

    virtual void SetComponentStyle(TTMSStyle AStyle);

    // Shows set `current` of `sdata` under `AHeaderControl`. The array is
    // shared with the caller (not copied, not owned) and must outlive the
    // list box's use of it; header clicks write sorted sets back into it.
    void SetStringData(TArrayOfStrings *sdata, THeaderControl *AHeaderControl, int current);

    THeaderControl *HeaderControl() const { return FHeaderControl; }
    void SetHeaderControl(THeaderControl *h);
    int CurrentStringSet() const { return fCurrentStringSet; }
    void SetCurrentStringSet(int index);
    const TArrayOfStrings *CurrentStrings() const { return fCurrentStrings; }
    int ColumnWidths() const { return fColumnWidths; }
    void SetColumnWidths(int w);
    int CurrentSortColumn() const { return fCurrentSortColumn; }
    bool SortAscending(int column) const { return fSortAscending[size_t(column)]; }

    TOnConvertItemText OnConvertItemText;
    TSortStringsOnColumn OnSortTheColumn;
    TColor _SelectedColour() const { return fSelectionColour; }
    TColor _SelectedTextColour() const { return fSelectionTextColour; }
    TColor _BackgroundColour() const { return fNormalBack; }
    TColor _TextColour() const { return fTextColour; }

    // Draws entry `Index` in `R`; the list's owner-draw slot calls this.
    void DrawItem(QPainter &canvas, int Index, QRect R, bool selected);
    void DrawHeaderSection(QPainter &canvas, int section, const QRect &H);
    void HeaderSectionClick(int section);
    void HeaderResize();

private:
    void SetItems(const QStringList &items);

    THeaderControl *FHeaderControl = nullptr;
    TColor fSelectionColour = 0;
    TColor fSelectionTextColour = 0;
    TColor fNormalBack = 0;
    TColor fTextColour = 0;
    TArrayOfStrings *fCurrentStrings = nullptr;
    std::array<bool, 6> fSortAscending{};
    int fCurrentSortColumn = -1;
    int fCurrentStringSet = -1;
    int fColumnWidths = 80;
};

// `text` shortened by replacing inner characters with "..." until it is at
// most `maxWidth` pixels wide in `fm`; unchanged when it fits.
QString ShortenToWidth(const QString &text, const QFontMetrics &fm, int maxWidth);
