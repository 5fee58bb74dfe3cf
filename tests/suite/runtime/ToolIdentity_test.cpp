// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControllerMessage.h"
#include "My_types.h"
#include "ResourceStrings.h"

#include <QFileInfo>
#include <QSet>
#include <gtest/gtest.h>

TEST(ToolIdentity, ExecutableNamesNumbersAndFiles) {
    EXPECT_EQ(ToolForExecutable("/opt/x/quillon-controller"), kControllerTool);
    EXPECT_EQ(ToolForExecutable("/opt/x/brindle"), kBrindleTool);
    EXPECT_EQ(ToolForExecutable("/opt/x/brindle-scan"), kBrindleTool);
    EXPECT_EQ(Tool_Name(18), "Brindle");
    EXPECT_EQ(GetShortToolFilename(18), "brindle");
    EXPECT_EQ(GetShortToolFilename(4), "quillon-controller");
    // The controller is looked for beside the running program.
    const QString ownFolder = QFileInfo("/proc/self/exe").canonicalFilePath().section('/', 0, -2);
    EXPECT_EQ(GetFullToolFilename(4), ownFolder + "/quillon-controller");
    SetCurrentTool();
    EXPECT_EQ(current_tool_var, kBrindleTool);
    // The running program answers with its own file name, here the test's.
    EXPECT_EQ(GetShortToolFilename(kBrindleTool),
              QFileInfo("/proc/self/exe").canonicalFilePath().section('/', -1));
    EXPECT_EQ(GetShortToolFilename(kControllerTool), "quillon-controller");
    current_tool_var = 0;
}

TEST(ToolIdentity, ControllerMessagesUnpackCodeToolAndWindow) {
    struct Case {
        uint32_t wParam, lParam;
        uint16_t code;
        uint8_t tool;
    };
    const Case cases[] = {
        {suite::PackCodeAndTool(6122, 4), 77, 6122, 4},
        {suite::PackCodeAndTool(233, 18), 0, 233, 18},
        {0xFFFFFFFF, 1, 0xFFFF, 0xFF}, // stray high bits are not part of either
    };
    for (const Case &c : cases) {
        const auto m = suite::MessageFromCallingProgram(c.wParam, c.lParam);
        EXPECT_EQ(m.code, c.code);
        EXPECT_EQ(m.tool, c.tool);
        EXPECT_EQ(m.window, c.lParam);
    }
}

TEST(ToolIdentity, ResourceStringsTakeTheirArgumentsAndStyleNamesDiffer) {
    EXPECT_TRUE(suite::QLClosingATool().arg("Brindle").contains("Brindle"));
    EXPECT_TRUE(suite::QLLoadingX().arg("stop list").contains("stop list"));
    QSet<QString> names;
    for (int n = 1; n <= 24; ++n)
        names.insert(suite::QL_TMSStyle(n));
    EXPECT_EQ(names.size(), 24);
    EXPECT_FALSE(names.contains(QString()));
    EXPECT_EQ(suite::QL_TMSStyle24(), suite::QL_TMSStyle(24));
    EXPECT_EQ(suite::QL_TMSStyle(25), QString());
}
