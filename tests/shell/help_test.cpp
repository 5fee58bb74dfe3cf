// SPDX-License-Identifier: GPL-3.0-or-later
#include "HelpContext.h"
#include "My_types.h"
#include "RuntimeServices.h"
#include "ShellTestSupport.h"
#include "TempDir.h"
#include "Tool_imagelist.h"
#include "quillon_minimal.h"
#include "tool_data_module.h"

#include <QShortcut>
#include <QWidget>
#include <set>

// --- Help topic names

TEST(HelpTopicName, RowsOfThisToolAndTheDefault) {
    const struct {
        int context;
        const char *topic;
    } cases[] = {
        {1000, "getting_started"}, {5140, "Brindle"},         {5150, "AimOfBrindle"},
        {1005, "getting_started"}, {-3, "getting_started"},   {0, "getting_started"},
        {5160, "getting_started"}, {5501, "getting_started"}, {1191, "Settings_advanced"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HelpTopicName(c.context), QLatin1String(c.topic)) << c.context;
}

TEST(HelpTopicName, TableHas427NumbersFollowingTheRule) {
    const std::set<int> odd{1191, 2182, 4771, 4772, 4773, 4774, 4775};
    int rows = 0;
    for (int n = -20; n <= 6000; ++n) {
        if (n != 1000 && HelpTopicName(n) == QLatin1String("getting_started"))
            continue;
        ++rows;
        EXPECT_TRUE(n >= 1000 && n <= 5500 && (n % 10 == 0 || odd.count(n))) << n;
    }
    EXPECT_EQ(rows, 427);
}

TEST(HelpTopicURL, JoinsAddressTopicAndExtension) {
    qputenv("QUILLON_HELP_URL", "file:///opt/quillon/help");
    EXPECT_EQ(HelpTopicURL(5140), QStringLiteral("file:///opt/quillon/help/Brindle.htm"));
    EXPECT_EQ(HelpTopicURL(-3), QStringLiteral("file:///opt/quillon/help/getting_started.htm"));
    qunsetenv("QUILLON_HELP_URL");
    EXPECT_EQ(HelpTopicURL(5150), QStringLiteral("help/AimOfBrindle.htm"));
}

// --- Help requests

class HelpRequest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        help.write(QStringLiteral("help/Brindle.htm"), "<html>Brindle</html>");
        help.write(QStringLiteral("help/getting_started.htm"), "<html>start</html>");
        SetHelpfilename(help.file(QStringLiteral("help")));
    }
    TempDir help;
    TDataModuleQuillon module;
};

TEST_F(HelpRequest, HelpButtonInEachAccessMode) {
    const struct {
        uint8_t mode;
        bool result;
        const char *openedSuffix; // nullptr: nothing opened
    } cases[] = {
        {0, true, "/help/Brindle.htm"},  // the help viewer, from the chosen help folder
        {1, false, "/help/Brindle.htm"}, // the web address, relative to the shipped help
        {2, false, nullptr},
        {255, false, nullptr},
    };
    for (const auto &c : cases) {
        opener.opened.clear();
        SetQLHelpAccessMode(c.mode);
        EXPECT_EQ(module.HandleAHelpFileChoice(5140), c.result) << int(c.mode);
        if (!c.openedSuffix) {
            EXPECT_TRUE(opener.opened.empty()) << int(c.mode);
            continue;
        }
        ASSERT_EQ(opener.opened.size(), 1u) << int(c.mode);
        EXPECT_TRUE(opener.opened[0].toString().endsWith(QLatin1String(c.openedSuffix)))
            << opener.opened[0].toString().toStdString();
    }
    SetQLHelpAccessMode(0);
    module.HandleAHelpFileChoice(5140);
    EXPECT_EQ(opener.opened.back(),
              QUrl::fromLocalFile(help.file(QStringLiteral("help/Brindle.htm"))));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(HelpRequest, ViewerFallsBackToGettingStartedForATopicWithoutPage) {
    module.HandleAHelpFileChoice(2000);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0],
              QUrl::fromLocalFile(help.file(QStringLiteral("help/getting_started.htm"))));
}

TEST_F(HelpRequest, BrowserThatCannotStartIsReportedOnce) {
    SetQLHelpAccessMode(1);
    opener.succeed = false;
    EXPECT_FALSE(module.HandleAHelpFileChoice(5140));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_TRUE(dialogs.shown[0].text.contains(QLatin1String("browser")));
}

TEST_F(HelpRequest, ContextHelpPopupAndF1) {
    QWidget form;
    SetHelpContext(&form, 5150);
    auto *panel = new QWidget(&form);
    auto *button = new QWidget(panel);
    button->setEnabled(false); // disabled controls still give their context
    // Through parents up to the first positive context; 1000 over no control.
    EXPECT_EQ(TDataModuleQuillon::BestHelpContextOf(button), 5150);
    SetHelpContext(panel, 7);
    EXPECT_EQ(TDataModuleQuillon::BestHelpContextOf(button), 7);
    EXPECT_EQ(TDataModuleQuillon::BestHelpContextOf(nullptr), 1000);
    QWidget orphan;
    SetHelpContext(&orphan, -5);
    EXPECT_EQ(TDataModuleQuillon::BestHelpContextOf(&orphan), -5);

    // No window of ours is under the cursor offscreen: the popup takes 1000.
    module.WhatsThis1->HelpContext = 42;
    module.PopupActionBar1Popup(module.PopupActionBar1);
    EXPECT_EQ(module.WhatsThis1->HelpContext, 1000);
    EXPECT_EQ(module.WhatsThis1->Caption, QStringLiteral("context help"));
    module.WhatsThis1->Click();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_TRUE(opener.opened[0].toString().endsWith(QLatin1String("getting_started.htm")));

    // F1 goes to the viewer by number, whatever the access mode.
    SetQLHelpAccessMode(2);
    help.write(QStringLiteral("help/AimOfBrindle.htm"), "<html>aim</html>");
    InstallF1Help(&form);
    auto *f1 = form.findChild<QShortcut *>();
    ASSERT_NE(f1, nullptr);
    emit f1->activated();
    EXPECT_EQ(opener.opened.back(),
              QUrl::fromLocalFile(help.file(QStringLiteral("help/AimOfBrindle.htm"))));
}

TEST_F(HelpRequest, ModuleCreationAndExitItems) {
    EXPECT_EQ(DataModuleQuillon, &module);
    EXPECT_FALSE(ImageListMain.isEmpty());
    const TMenuItem *specific = module.MenuItemNamed(QStringLiteral("Specific1"));
    ASSERT_NE(specific, nullptr);
    EXPECT_EQ(specific->ImageIndex, ToolTypeToImageListNumber(current_tool_var));
    EXPECT_GT(specific->ImageIndex, 0);

    no_check_exit = true;
    module.MenuItemNamed(QStringLiteral("Exit1"))->Click();
    EXPECT_FALSE(no_check_exit);
    module.MenuItemNamed(QStringLiteral("FastExit1"))->Click();
    EXPECT_TRUE(no_check_exit);
}
