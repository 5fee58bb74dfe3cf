// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lists of menu items the user may customise (shortcuts, check marks,
// right-click menus) and the function numbers that may be customised.

#include <QString>
#include <memory>
#include <vector>

class TMenuItem;

// The function numbers whose menu items may be customised; 130 members, the
// same in every program of the suite.
bool IsCustomisableMenuTag(int tag);

struct TMenuItemAndIntegerRec {
    TMenuItem *m = nullptr; // not owned
    int tag_num = 0;
};

class TMyMenuItemHolder {
public:
    explicit TMyMenuItemHolder(const TMenuItemAndIntegerRec &e) : data(e) {}
    TMenuItemAndIntegerRec data;
};

// Owns its holders; entries stay in insertion order unless sorted.
class TCustomisableMenuItemsList {
public:
    int Count() const { return int(fItems.size()); }
    TMyMenuItemHolder *Items(int i) const { return fItems[size_t(i)].get(); }
    // None / 0 when `i` is out of range.
    TMenuItem *MenuItemAt(int i) const;
    int TagNumAt(int i) const;

    int AddOne(const TMenuItemAndIntegerRec &e);
    // Appends a copy of the first entry of `from` captioned exactly `s`.
    void AddAString(const QString &s, const TCustomisableMenuItemsList &from);
    // Exact, case-sensitive caption match; -1 when none.
    int CaptionIndexOf(const QString &aCaption) const;
    int TagIndexOf(int aTag) const;
    // The function number of the first entry captioned `aCaption`, else -1.
    int TagIndexOfACaption(const QString &aCaption) const;
    void Clear() { fItems.clear(); }
    // By caption, folding only the letters A-Z to lower case.
    void SortByCaption();

private:
    std::vector<std::unique_ptr<TMyMenuItemHolder>> fItems;
};
