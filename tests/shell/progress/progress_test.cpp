// SPDX-License-Identifier: GPL-3.0-or-later
// The progress reporter against a controller window in this process.

#include "ControllerMessage.h"
#include "Dialogs.h"
#include "IsolatedEnv.h"
#include "My_types.h"
#include "NotifyShell.h"
#include "ResourceStrings.h"
#include "SharedVariables.h"
#include "TMessageReceiver.h"
#include "qlbuf.h"
#include "quillon_minimal_progress.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace platform;

namespace {

constexpr uint32_t kOwnWindow = 0x1234;
constexpr uint16_t kSentinel = 999;

// This process stands in for the controller; the tool's own window is a
// made-up handle, set only when a test says the window exists.
class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fController.Open());
        SetShellWnd(fController.handle());
        current_tool_var = 18;
        global_own_HWnd = kOwnWindow;
        suite::SetDialogService(&fDialogs);
    }
    void TearDown() override {
        suite::SetDialogService(nullptr);
        global_own_HWnd = 0;
    }

    // The codes posted so far, each checked to follow its announcement;
    // a sentinel notification marks the end of what was sent.
    std::vector<uint16_t> Codes() {
        NotifyShell(kSentinel);
        QDeadlineTimer cap(10000);
        while ((fReceived.empty() || Last() != kSentinel) && !cap.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::vector<uint16_t> codes;
        for (size_t i = 0; i + 1 < fReceived.size(); i += 2) {
            EXPECT_EQ(fReceived[i], (TMessage{suite::kAnnounceToolWindowMessage, 18, kOwnWindow}));
            EXPECT_EQ(fReceived[i + 1].message, suite::kToolCodeMessage);
            EXPECT_EQ(fReceived[i + 1].wParam >> 16, 18u);
            EXPECT_EQ(fReceived[i + 1].lParam, kOwnWindow);
            codes.push_back(uint16_t(fReceived[i + 1].wParam));
        }
        fReceived.clear();
        codes.pop_back();
        return codes;
    }
    uint16_t Last() const { return uint16_t(fReceived.back().wParam); }

    tProgressParams Handed() {
        tProgressParams p{};
        EXPECT_TRUE(GetProgressParams(::getpid(), &p));
        return p;
    }

    IsolatedEnv fEnv;
    std::vector<TMessage> fReceived;
    TMessageReceiver fController{[this](const TMessage &m) { fReceived.push_back(m); }};
    suite::TRecordingDialogService fDialogs;
    TProgressClass fProgress;
};

class FakePanels : public TProgressPanels {
public:
    explicit FakePanels(int n) : texts(size_t(n)) {}
    int PanelCount() const override { return int(texts.size()); }
    void SetPanelText(int panel, const QString &text) override { texts[size_t(panel)] = text; }
    std::vector<QString> texts;
};

} // namespace

TEST_F(ProgressTest, EqualPercentagesReportNothing) {
    fProgress.ThisPercent(5);
    fProgress.ThisPercent(5);
    fProgress.OverallPercent(0);
    EXPECT_EQ(Codes(), std::vector<uint16_t>{6104});
    fProgress.ClearBarsOnly(); // this-operation back to 0; overall already 0
    fProgress.ClearBarsOnly();
    EXPECT_EQ(Codes(), std::vector<uint16_t>{6104});
    EXPECT_EQ(Handed().this_percent, 0);
}

TEST_F(ProgressTest, EveryOperationPostsItsCode) {
    struct Case {
        const char *what;
        std::function<void(TProgressClass &)> act;
        std::vector<uint16_t> codes;
    };
    const Case cases[] = {
        {"show", [](auto &p) { p.Show(AtShell); }, {6100}},
        {"overall", [](auto &p) { p.OverallPercent(40); }, {6105}},
        {"bars", [](auto &p) { p.ClearBarsOnly(); }, {6105}},
        {"short", [](auto &p) { p.ProgressShortMessage("a"); }, {6113}},
        {"long", [](auto &p) { p.ProgressLongMessage("b"); }, {6106}},
        {"words twice", [](auto &p) { p.RunningWords(3), p.RunningWords(3); }, {6108, 6108}},
        {"memory", [](auto &p) { p.Memory(); }, {6101}},
        {"kind 6", [](auto &p) { p.ReportProgress(Unused); }, {}},
        {"kind 9", [](auto &p) { p.ReportProgress(BarsCleared); }, {6111}},
        {"clear all",
         [](auto &p) {
             p.ClearAllAndShow({100, -20}, AtShell);
         },
         {6100, 6112}},
        // Worked example: 37 of 200 is 18 %.
        {"out of", [](auto &p) { p.ProgressShortMessageOutOf("7 chars", 37, 200); }, {6113, 6104}},
        {"out of 0", [](auto &p) { p.ProgressShortMessageOutOf("x", 5, 0); }, {6113}},
        {"no tool bar", [](auto &p) { p.Show(AtTool); }, {6100}},
        {"hide", [](auto &p) { p.Hide(); }, {6107}},
        {"hidden", [](auto &p) { p.ThisPercent(77); }, {}},
    };
    for (const Case &c : cases) {
        c.act(fProgress);
        EXPECT_EQ(Codes(), c.codes) << c.what;
    }
    const tProgressParams p = Handed();
    EXPECT_EQ(p.this_percent, 18);
    EXPECT_EQ(p.centre_x, 100);
    EXPECT_EQ(p.centre_y, -20);
    EXPECT_EQ(fProgress.fparams.this_percent, 77) << "stored even while hidden";
}

TEST_F(ProgressTest, MessagesArriveCutToTwoHundredUnitsThenZeros) {
    fProgress.ProgressLongMessage(QString(250, QChar(u'L')));
    fProgress.ProgressShortMessage(QString(3, QChar(u'S')));
    const tProgressParams p = Handed();
    const auto *bytes = reinterpret_cast<const uint8_t *>(&p);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(bytes[430 + 2 * i], 'L') << i;
    for (int i = 430 + 400; i < 832; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(bytes[28], 'S');
    for (int i = 28 + 6; i < 430; ++i)
        EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_EQ(Codes(), (std::vector<uint16_t>{6106, 6113}));
}

TEST_F(ProgressTest, BeforeTheWindowExistsTheRecordIsHandedOverButNothingPosted) {
    global_own_HWnd = 0;
    fProgress.ThisPercent(10);
    EXPECT_EQ(Handed().this_percent, 10);
    EXPECT_FALSE(NotifyShell(4601));
    global_own_HWnd = kOwnWindow;
    EXPECT_EQ(Codes(), std::vector<uint16_t>{});
    // Nor when the controller is the tool's own window.
    global_own_HWnd = fController.handle();
    EXPECT_FALSE(NotifyShell(4601));
}

TEST_F(ProgressTest, ToolModeWritesOnlyPanelsThatExist) {
    FakePanels panels(2);
    fProgress.SetProgressStatusBar(&panels);
    fProgress.Show(AtTool); // kind 4: nothing in tool mode
    fProgress.ThisPercent(5);
    fProgress.ProgressLongMessage("panel 8 is missing");
    fProgress.ClearAllAndShow({0, 0}, AtTool);
    EXPECT_EQ(panels.texts, (std::vector<QString>{"0%", "0%"}));
    fProgress.OverallPercent(9);
    EXPECT_EQ(panels.texts[1], "9%");
    EXPECT_EQ(Codes(), std::vector<uint16_t>{});
}

TEST_F(ProgressTest, ErrorsShowABoxUnlessHidden) {
    fProgress.ShowError("disk full");
    ASSERT_EQ(fDialogs.shown.size(), 1u);
    EXPECT_EQ(fDialogs.shown[0].title, suite::QLError());
    EXPECT_EQ(fDialogs.shown[0].text, "disk full");
    EXPECT_EQ(fDialogs.shown[0].buttons, unsigned(suite::mbOK));
    fProgress.Hide();
    fProgress.ShowError("unseen");
    fProgress.FatalError("unseen either");
    EXPECT_EQ(fDialogs.shown.size(), 1u);
}

TEST_F(ProgressTest, FatalErrorEndsTheProcessAsAFailure) {
    EXPECT_EXIT(fProgress.FatalError("cannot go on"), ::testing::ExitedWithCode(1), "");
}
