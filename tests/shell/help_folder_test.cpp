// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpViewer.h"
#include "TempDir.h"

#include <QDir>
#include <gtest/gtest.h>

// Where a program finds the help pages shipped with it, installed or built.
TEST(ShippedHelpFolder, FoundInTheInstalledAndTheBuildLayouts) {
    const struct {
        const char *layout;
        const char *program;
        const char *folders; // space-separated
        const char *found;
    } cases[] = {
        {"installed", "usr/bin", "usr/share/brindle/help", "usr/share/brindle/help"},
        {"build tree", "build/app", "build/help", "build/help"},
        {"next to the program", "opt/brindle", "opt/brindle/help", "opt/brindle/help"},
        {"installed, with a stray help folder in the prefix", "usr/bin",
         "usr/help usr/share/brindle/help", "usr/share/brindle/help"},
        {"nowhere: the folder next to the program", "usr/bin", "", "usr/bin/help"},
    };
    for (const auto &c : cases) {
        TempDir root;
        QDir().mkpath(root.file(QLatin1String(c.program)));
        for (const QString &folder : QString::fromLatin1(c.folders).split(u' ', Qt::SkipEmptyParts))
            ASSERT_TRUE(QDir().mkpath(root.file(folder)));
        EXPECT_EQ(ShippedHelpFolder(root.file(QLatin1String(c.program))),
                  QDir::cleanPath(root.file(QLatin1String(c.found))))
            << c.layout;
    }
}
