// SPDX-License-Identifier: GPL-3.0-or-later
#include "quillon_minimal.h"

#include "HelpViewer.h"
#include "RuntimeServices.h"
#include "UrlOpener.h"

#include <QDir>
#include <QHash>
#include <QUrl>
#include <array>

namespace {

// The suite numbers its help contexts by area (the hundreds) and page (the
// tens); these names must match the pages of the suite's help.
constexpr std::array<const char *, 46> kAreas{
    "Controller",      "Settings",      "Concord",         "ConcordDisplay", "WordList",
    "WordListDisplay", "KeyWords",      "KeyWordsDisplay", "Plot",           "Clusters",
    "Collocates",      "Patterns",      "Dispersion",      "Lemmas",         "MatchList",
    "StopList",        "Tags",          "TextSettings",    "Languages",      "Folders",
    "Statistics",      "Consistency",   "Relationships",   "Compare",        "Viewer",
    "Aligner",         "Splitter",      "TextConverter",   "FileUtilities",  "Renamer",
    "WebDownloader",   "CorpusBuilder", "Index",           "Chargrams",      "Grids",
    "Printing",        "Saving",        "Searching",       "Sorting",        "Editing",
    "Menus",           "Tools",         "Troubleshooting", "Licence",        "Support",
    "Shortcuts"};
constexpr std::array<const char *, 10> kPages{"",          "_settings", "_display", "_search",
                                              "_save",     "_print",    "_sort",    "_columns",
                                              "_examples", "_tips"};

QHash<int, QString> BuildTopics() {
    QHash<int, QString> t;
    auto generated = [](int n) {
        return QLatin1String(kAreas[size_t(n / 100 - 10)]) +
               QLatin1String(kPages[size_t(n / 10 % 10)]);
    };
    // 5160-5460 are not used by the suite.
    for (int n = 1000; n <= 5500; n += 10)
        if (n <= 5150 || n >= 5470)
            t.insert(n, generated(n));
    t.insert(1191, QStringLiteral("Settings_advanced"));
    t.insert(2182, QStringLiteral("Dispersion_ruler"));
    for (int k = 1; k <= 5; ++k)
        t.insert(4770 + k, QStringLiteral("Sorting_key%1").arg(k));
    t.insert(1000, QStringLiteral("getting_started"));
    t.insert(5140, QStringLiteral("Brindle"));
    t.insert(5150, QStringLiteral("AimOfBrindle"));
    return t;
}

} // namespace

QString HelpTopicName(int helpContext) {
    static const QHash<int, QString> topics = BuildTopics();
    return topics.value(helpContext, QStringLiteral("getting_started"));
}

QString HelpTopicURL(int helpContext) {
    return QuillonHelpURL() + HelpTopicName(helpContext) + QStringLiteral(".htm");
}

void OpenInBrowser(const QString &url) {
    QUrl u(url);
    if (u.isRelative()) {
        const QString base = QDir::cleanPath(ShippedHelpFolder() + QStringLiteral("/.."));
        u = QUrl::fromLocalFile(base + u'/').resolved(u);
    }
    CheckExec(OpenUrlWithService(u), QStringLiteral("browser"));
}
