// SPDX-License-Identifier: GPL-3.0-or-later
#include "Tool_imagelist.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

TImageList ImageListMain;
TImageList ImageListHelpOKCancel16;

namespace {

// Tool icons are drawn rather than shipped: a rounded tile in the tool's
// colour with its initial, so every tool is told apart at 16 pixels.
QIcon ToolIcon(int tool) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor::fromHsv((tool * 47) % 360, 160, 200));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setPixelSize(11);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(QChar(u'A' + tool % 26)));
    return QIcon(pm);
}

constexpr int kToolCount = 32;

} // namespace

void LoadupTheImageLists() {
    ImageListMain.clear();
    // Index 0 is the help image the context-help popup shows.
    QStyle *style = QApplication::style();
    ImageListMain.append(style->standardIcon(QStyle::SP_DialogHelpButton));
    for (int tool = 1; tool < kToolCount; ++tool)
        ImageListMain.append(ToolIcon(tool));
    static_assert(kImageListMainStop == kToolCount);
    ImageListMain.append(style->standardIcon(QStyle::SP_BrowserStop));

    ImageListHelpOKCancel16 = {style->standardIcon(QStyle::SP_DialogHelpButton),
                               style->standardIcon(QStyle::SP_DialogOkButton),
                               style->standardIcon(QStyle::SP_DialogCancelButton)};
}

int ToolTypeToImageListNumber(int tool) {
    return tool > 0 && tool < kToolCount ? tool : 0;
}
