// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// TMySaveStringList: a string list whose entries carry an integer.
//
// Sorted order is ordinal: UTF-16 code-unit value, shorter prefix first.

#include <QString>
#include <cstdint>
#include <vector>

namespace suite {

class TMySaveStringList {
public:
    // Never owns what its entries carry (they carry integers).
    explicit TMySaveStringList(bool ownsObjects = false) { Q_UNUSED(ownsObjects); }

    // Appends (text, value). On a sorted list the entry goes to its sorted place.
    int AddObject(const QString &s, int64_t value);
    int Count() const { return static_cast<int>(fItems.size()); }
    const QString &Strings(int i) const { return fItems[static_cast<size_t>(i)].text; }
    int64_t Objects(int i) const { return fItems[static_cast<size_t>(i)].value; }
    // The index of the entry whose text equals `s`, -1 when there is none.
    int IndexOf(const QString &s) const;
    bool Sorted() const { return fSorted; }
    // Switching to sorted orders the existing entries (stable) and keeps them so.
    void SetSorted(bool sorted);
    void Clear() { fItems.clear(); }

private:
    struct Item {
        QString text;
        int64_t value;
    };
    std::vector<Item> fItems;
    bool fSorted = false;
};

} // namespace suite
