// SPDX-License-Identifier: GPL-3.0-or-later
#include "MyStyledTMSComponents.h"
#include "THeaderControl.h"
#include "TMSStyles.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The x range [first, last] of dark pixels of `img` between x0 and x1.
std::pair<int, int> InkRange(const QImage &img, int x0, int x1) {
    int first = -1, last = -1;
    for (int x = x0; x < x1; ++x)
        for (int y = 0; y < img.height(); ++y)
            if (qGray(img.pixel(x, y)) < 100) {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

TEST(StyledColumnListbox, NumberEndsTenPixelsBeforeItsColumnEdge) {
    TStyledColumnListbox list;
    list.addItem(QStringLiteral("12\tcat"));
    QImage img(200, 16, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    const int numberWidth = p.fontMetrics().horizontalAdvance(QStringLiteral("12"));
    list.DrawItem(p, 0, QRect(0, 0, 200, 16), false);
    p.end();

    EXPECT_EQ(img.pixelColor(150, 8), ToQColor(StyleBackColour(0))); // filled
    const auto [numFirst, numLast] = InkRange(img, 0, 80);
    ASSERT_GE(numFirst, 0);
    EXPECT_LE(numLast, 70);
    EXPECT_GE(numFirst, 70 - numberWidth - 1);
    const auto [wordFirst, wordLast] = InkRange(img, 80, 200);
    ASSERT_GE(wordFirst, 0);
    EXPECT_LT(wordFirst, 84);
    EXPECT_LT(wordLast, 80 + p.fontMetrics().horizontalAdvance(QStringLiteral("cat")) + 2);
}

TEST(StyledColumnListbox, LongFieldIsShortenedToItsColumn) {
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics fm(font);
    const QString path = QStringLiteral("/home/user/corpus/very/long/folder/name/file.txt");
    const QString s = ShortenToWidth(path, fm, 80);
    EXPECT_LE(fm.horizontalAdvance(s), 80);
    EXPECT_TRUE(s.contains(QStringLiteral("...")));
    EXPECT_TRUE(s.startsWith(u'/'));
    EXPECT_TRUE(s.endsWith(u't'));
    EXPECT_EQ(ShortenToWidth(QStringLiteral("ok"), fm, 80), QStringLiteral("ok"));
}

TEST(StyledColumnListbox, StringSetsAndHeaderClicks) {
    TStyledColumnListbox list;
    THeaderControl header;
    header.SetSections({"Word", "Freq"}, {120, 60});
    TArrayOfStrings sets{{"b\t2", "a\t9", "c\t5"}, {"x"}};

    // Out of range or no header: emptied, nothing attached.
    list.addItem(QStringLiteral("old"));
    list.SetStringData(&sets, &header, 2);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.CurrentStringSet(), -1);
    list.SetStringData(&sets, nullptr, 0);
    EXPECT_EQ(list.HeaderControl(), nullptr);

    list.SetStringData(&sets, &header, 0);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.CurrentStrings(), &sets);
    list.SetCurrentStringSet(5); // ignored
    EXPECT_EQ(list.CurrentStringSet(), 0);
    list.SetCurrentStringSet(1);
    EXPECT_EQ(list.count(), 1);
    list.SetCurrentStringSet(0);

    // Without a sort handler, and on section 6, a click does nothing.
    header.OnSectionClick(0);
    EXPECT_EQ(list.CurrentSortColumn(), -1);
    std::vector<std::pair<int, bool>> calls;
    list.OnSortTheColumn = [&](QObject *, int column, bool ascending) {
        calls.emplace_back(column, ascending);
        list.sortItems(ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    };
    list.HeaderSectionClick(6);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(list.CurrentSortColumn(), -1);

    // A click sorts, stores the sorted items as that column's set and turns
    // the column's direction for the next click.
    const bool first = list.SortAscending(1);
    header.OnSectionClick(1);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], std::make_pair(1, first));
    EXPECT_EQ(list.CurrentSortColumn(), 1);
    EXPECT_EQ(list.SortAscending(1), !first);
    EXPECT_EQ(sets[1].size(), 3);
    EXPECT_EQ(sets[1], first ? (QStringList{"a\t9", "b\t2", "c\t5"})
                             : (QStringList{"c\t5", "b\t2", "a\t9"}));
    header.OnSectionClick(1);
    EXPECT_EQ(calls[1], std::make_pair(1, !first));

    // Resizing the first section sets the column width.
    header.resizeSection(0, 150);
    EXPECT_EQ(list.ColumnWidths(), 150);
}

TEST(StyledColumnListbox, StyleAndSelectionColours) {
    TStyledColumnListbox list;
    list.addItem(QStringLiteral("word"));
    list.SetComponentStyle(4);
    QImage img(100, 16, QImage::Format_RGB32);
    QPainter p(&img);
    list.DrawItem(p, 0, QRect(0, 0, 100, 16), true);
    list.DrawItem(p, 1, QRect(0, 0, 100, 16), false); // out of range: nothing
    p.end();
    EXPECT_EQ(img.pixelColor(95, 8), ToQColor(StyleSelectionColour(4)));
}
