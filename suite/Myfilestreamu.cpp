// SPDX-License-Identifier: GPL-3.0-or-later
#include "Myfilestreamu.h"

#include "CodeUnitOrder.h"

#include <algorithm>

namespace suite {

int TMySaveStringList::AddObject(const QString &s, int64_t value) {
    if (!fSorted) {
        fItems.push_back({s, value});
        return Count() - 1;
    }
    auto at =
        std::upper_bound(fItems.begin(), fItems.end(), s,
                         [](const QString &t, const Item &it) { return CodeUnitLess(t, it.text); });
    at = fItems.insert(at, {s, value});
    return static_cast<int>(at - fItems.begin());
}

int TMySaveStringList::IndexOf(const QString &s) const {
    if (fSorted) {
        auto at =
            std::lower_bound(fItems.begin(), fItems.end(), s, [](const Item &it, const QString &t) {
                return CodeUnitLess(it.text, t);
            });
        if (at != fItems.end() && at->text == s)
            return static_cast<int>(at - fItems.begin());
        return -1;
    }
    for (size_t i = 0; i < fItems.size(); ++i)
        if (fItems[i].text == s)
            return static_cast<int>(i);
    return -1;
}

void TMySaveStringList::SetSorted(bool sorted) {
    if (sorted && !fSorted)
        std::stable_sort(fItems.begin(), fItems.end(),
                         [](const Item &a, const Item &b) { return CodeUnitLess(a.text, b.text); });
    fSorted = sorted;
}

} // namespace suite
