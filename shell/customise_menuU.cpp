// SPDX-License-Identifier: GPL-3.0-or-later
#include "customise_menuU.h"

#include "MenuComponents.h"

#include <algorithm>
#include <bitset>

namespace {

const std::bitset<200> kCustomisableMenuTags = [] {
    constexpr int ranges[][2] = {{0, 26},    {28, 55},   {59, 66},   {69, 70},   {72, 72},
                                 {77, 87},   {89, 91},   {95, 104},  {110, 112}, {114, 121},
                                 {126, 127}, {130, 131}, {141, 145}, {150, 150}, {164, 167},
                                 {175, 184}, {186, 186}, {194, 194}, {196, 198}};
    std::bitset<200> set;
    for (const auto &r : ranges)
        for (int t = r[0]; t <= r[1]; ++t)
            set.set(size_t(t));
    return set;
}();

char16_t FoldAsciiLetter(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool CaptionLess(const QString &a, const QString &b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = FoldAsciiLetter(a[i].unicode()), y = FoldAsciiLetter(b[i].unicode());
        if (x != y)
            return x < y;
    }
    return a.size() < b.size();
}

} // namespace

bool IsCustomisableMenuTag(int tag) {
    return tag >= 0 && tag < 200 && kCustomisableMenuTags.test(size_t(tag));
}

TMenuItem *TCustomisableMenuItemsList::MenuItemAt(int i) const {
    return i >= 0 && i < Count() ? fItems[size_t(i)]->data.m : nullptr;
}

int TCustomisableMenuItemsList::TagNumAt(int i) const {
    return i >= 0 && i < Count() ? fItems[size_t(i)]->data.tag_num : 0;
}

int TCustomisableMenuItemsList::AddOne(const TMenuItemAndIntegerRec &e) {
    fItems.push_back(std::make_unique<TMyMenuItemHolder>(e));
    return Count() - 1;
}

void TCustomisableMenuItemsList::AddAString(const QString &s,
                                            const TCustomisableMenuItemsList &from) {
    const int i = from.CaptionIndexOf(s);
    if (i >= 0)
        AddOne(from.Items(i)->data);
}

int TCustomisableMenuItemsList::CaptionIndexOf(const QString &aCaption) const {
    for (int i = 0; i < Count(); ++i)
        if (fItems[size_t(i)]->data.m->Caption == aCaption)
            return i;
    return -1;
}

int TCustomisableMenuItemsList::TagIndexOf(int aTag) const {
    for (int i = 0; i < Count(); ++i)
        if (fItems[size_t(i)]->data.m->Tag == aTag)
            return i;
    return -1;
}

int TCustomisableMenuItemsList::TagIndexOfACaption(const QString &aCaption) const {
    const int i = CaptionIndexOf(aCaption);
    return i < 0 ? -1 : fItems[size_t(i)]->data.tag_num;
}

void TCustomisableMenuItemsList::SortByCaption() {
    std::stable_sort(fItems.begin(), fItems.end(), [](const auto &a, const auto &b) {
        return CaptionLess(a->data.m->Caption, b->data.m->Caption);
    });
}
