// SPDX-License-Identifier: GPL-3.0-or-later
// The window's place in the suite, in-process: its help, its registration
// and handle, the menu shortcuts it leaves in place, and a command posted to
// it over the real socket.

#include "AppTestSupport.h"
#include "ControllerMessage.h"
#include "HelpContext.h"
#include "MainWindow.h"
#include "MessageBoxDialogService.h"
#include "My_types.h"
#include "PostMessage.h"
#include "SharedVariables.h"
#include "ShortCuts.h"
#include "UrlOpener.h"
#include "qlbuf.h"
#include "tool_data_module.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

class WindowInSuite : public IsolatedUser {
protected:
    void SetUp() override {
        IsolatedUser::SetUp();
        fOldOpener = SetUrlOpener(&opener);
        panic_mode = 0;
    }
    void TearDown() override {
        panic_mode = 0;
        global_own_HWnd = 0;
        SetUrlOpener(fOldOpener);
        IsolatedUser::TearDown();
    }
    TRecordingUrlOpener opener;

private:
    TUrlOpener *fOldOpener = nullptr;
};

TEST_F(WindowInSuite, HelpButtonOpensTheToolsTopicAndF1HasTheWindowsContext) {
    TDataModuleQuillon module;
    TForm1 form;
    EXPECT_EQ(HelpContextOf(&form), 5150);
    const QString page = dir.write(QStringLiteral("help/Brindle.htm"), "<html>Brindle</html>");
    SetHelpfilename(dir.file(QStringLiteral("help")));
    SetQLHelpAccessMode(0);
    form.ButtonHelp->click();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(page));
}

TEST_F(WindowInSuite, CreationRegistersTheWindowAndKeepsTheSuitesShortcuts) {
    TDataModuleQuillon module;
    SetMenuShortcut(module.MenuItemNamed(QStringLiteral("Copy1"))->Tag, 0, scCtrl | 'K');
    TForm1 form;
    ASSERT_NE(global_own_HWnd, 0u);
    EXPECT_EQ(form.OwnHandle(), global_own_HWnd);
    EXPECT_EQ(GetActiveMainToolWindow(current_tool_var), global_own_HWnd);
    EXPECT_EQ(module.MenuItemNamed(QStringLiteral("New1"))->ShortCut, scCtrl | 'N');
    EXPECT_EQ(module.MenuItemNamed(QStringLiteral("Copy1"))->ShortCut, scCtrl | 'K');
}

TEST_F(WindowInSuite, APostedCommandReachesTheWindowOnItsOwnThread) {
    TForm1 form;
    const uint32_t window = form.OwnHandle();
    ASSERT_NE(window, 0u);
    // Only message 0x401 carries commands.
    platform::PostMessage(window, {suite::kAnnounceToolWindowMessage,
                                   suite::PackCodeAndTool(6121, kControllerTool), 0});
    platform::PostMessage(
        window, {suite::kToolCodeMessage, suite::PackCodeAndTool(6120, kControllerTool), 0});
    QDeadlineTimer cap(10000);
    while (panic_mode == 0 && !cap.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(panic_mode, 1);
}

TEST_F(WindowInSuite, AMessagesHelpButtonOpensTheHelpAndTheMessageWaitsForItsAnswer) {
    const QString page =
        dir.write(QStringLiteral("help/getting_started.htm"), "<html>Start</html>");
    SetHelpfilename(dir.file(QStringLiteral("help")));
    SetQLHelpAccessMode(0);
    // Presses Help on the message, then OK once it is up again.
    std::vector<QMessageBox::StandardButton> presses{QMessageBox::Help, QMessageBox::Ok};
    size_t next = 0;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && next < presses.size() && box->isVisible())
            if (QAbstractButton *b = box->button(presses[next++]))
                b->click();
    });
    clicker.start(20);
    app::TMessageBoxDialogService boxes;
    const int result =
        boxes.ShowMessage(nullptr, QStringLiteral("Brindle"), QStringLiteral("x"),
                          suite::TMsgDlgType::Warning, suite::mbOK | suite::mbHelp, 0);
    EXPECT_EQ(next, presses.size());
    EXPECT_EQ(result, suite::mrOk);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0], QUrl::fromLocalFile(page));
}

} // namespace
