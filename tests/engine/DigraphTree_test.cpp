// SPDX-License-Identifier: GPL-3.0-or-later
#include "DigraphTree.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// Counts `text` one occurrence at a time, as the tree's own rule reads it.
QStringList ProfileOf(const QString &text, int minFreq, int *total = nullptr) {
    TDigraphTree tree(minFreq);
    int n = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const QChar a = text.at(i), b = text.at(i + 1);
        if (a.isLetter() && (b == QLatin1Char(' ') || b.isLetter())) {
            ++n;
            tree.AddDigraph(a.unicode(), b.unicode());
        }
    }
    tree.MakeProfileList();
    EXPECT_EQ(tree.counter, 0);
    QStringList out;
    for (int i = 0; i < tree.sorted_results->Count(); ++i)
        out << tree.sorted_results->Strings(i) + QLatin1Char('=') +
                   QString::number(tree.sorted_results->Objects(i));
    if (total)
        *total = n;
    return out;
}

} // namespace

TEST(DigraphTree, ProfileListKeepsCountsAtOrAboveMinimumInCodeUnitOrder) {
    int total = 0;
    EXPECT_EQ(ProfileOf(QStringLiteral("THE CAT"), 1, &total),
              (QStringList{"AT=1", "CA=1", "E =1", "HE=1", "TH=1"}));
    EXPECT_EQ(total, 5);
    // TH three times, HE twice: only TH reaches 3, but all five count.
    EXPECT_EQ(ProfileOf(QStringLiteral("TH TH THE HE"), 3, &total), QStringList{"TH=3"});
    EXPECT_EQ(total, 8);
}

TEST(DigraphTree, CompareIsCodeUnitOrder) {
    digraph_rec a, b;
    auto set = [](digraph_rec &r, char16_t x, char16_t y) {
        r.chars[0] = x;
        r.chars[1] = y;
    };
    set(a, u'Z', u' ');
    set(b, u'Z', u'A');
    EXPECT_LT(TDigraphTree::Compare(&a, &b), 0);
    set(a, u'Z', u'Z');
    set(b, 0x00C0, u'A');
    EXPECT_LT(TDigraphTree::Compare(&a, &b), 0);
    EXPECT_EQ(TDigraphTree::Compare(&a, &a), 0);
}

TEST(DigraphTree, CountedAddIsTheSameAsRepeatedAdds) {
    TDigraphTree one(2), many(2);
    for (int i = 0; i < 5; ++i)
        one.AddDigraph(u'A', u'B');
    one.AddDigraph(u'C', u'D');
    many.AddDigraphCount(u'A', u'B', 3);
    many.AddDigraphCount(u'A', u'B', 2);
    many.AddDigraphCount(u'C', u'D', 1);
    one.MakeProfileList();
    many.MakeProfileList();
    ASSERT_EQ(many.sorted_results->Count(), 1);
    EXPECT_EQ(one.sorted_results->Objects(0), many.sorted_results->Objects(0));
    EXPECT_EQ(many.sorted_results->Objects(0), 5);
}
