// SPDX-License-Identifier: GPL-3.0-or-later
#include "Myfilestreamu.h"

#include <QStringList>

#include <gtest/gtest.h>

using suite::TMySaveStringList;

TEST(MySaveStringList, SortingIsCodeUnitOrderAndLookupsFindExactText) {
    TMySaveStringList list(false);
    for (const char16_t *s : {u"ZA", u"Z ", u"\u00C0A", u"ZZ", u"AB"})
        list.AddObject(QString::fromUtf16(s), 1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("ZZ")), 3); // unsorted: first match by position
    list.SetSorted(true);
    QStringList order;
    for (int i = 0; i < list.Count(); ++i)
        order << list.Strings(i);
    EXPECT_EQ(order, (QStringList{"AB", "Z ", "ZA", "ZZ", QString::fromUtf16(u"\u00C0A")}));
    EXPECT_EQ(list.IndexOf(QStringLiteral("ZA")), 2);
    EXPECT_EQ(list.IndexOf(QStringLiteral("za")), -1);
    // A surrogate sorts by its code unit, below U+E000.
    list.AddObject(QString::fromUtf16(u"\uE000A"), 2);
    list.AddObject(QString::fromUtf16(u"\U00010000"), 3);
    EXPECT_EQ(list.IndexOf(QString::fromUtf16(u"\U00010000")), list.Count() - 2);
}
