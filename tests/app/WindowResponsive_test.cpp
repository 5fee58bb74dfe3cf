// SPDX-License-Identifier: GPL-3.0-or-later
// Stop and the controller's commands get through while long work runs on
// the GUI thread: a run, and a word-list load. Time passing is simulated by
// sleeping inside the work; the tests check that the effect comes, not how
// fast.

#include "AppTestSupport.h"
#include "ControllerMessage.h"
#include "EventPump.h"
#include "MainWindow.h"
#include "My_types.h"
#include "Mykpsmall.h"
#include "PostMessage.h"
#include "ResourceStrings.h"
#include "ResultTable.h"
#include "SharedVariables.h"
#include "ToolPagesU.h"
#include "file_crap_detector.h"
#include "lemmatiser.h"
#include "multi_tool_base.h"
#include "qlbuf.h"
#include "quillon_minimal_progress.h"

#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>

namespace {

constexpr int kSuspects = 40;

// Longer than the pump interval: the next yield after it pumps.
void LetTimePass() {
    QThread::msleep(unsigned(3 * app::kPumpIntervalMs));
}

class Responsive : public IsolatedUser {
protected:
    void SetUp() override {
        IsolatedUser::SetUp();
        CreateGlobalProgress();
        app::CreateGlobalToolWindowList();
        panic_mode = 0;
        reference = dir.write("ref/good.txt", GoodText(20));
        for (int i = 0; i < kSuspects; ++i)
            dir.write(QStringLiteral("data/f%1.txt").arg(i, 3, 10, QLatin1Char('0')), CutText());
        form = std::make_unique<TForm1>();
        form->show();
        form->ElFileNameEdit1->SetFileList({reference});
        form->ElFolderNameEdit1->SetText(dir.file("data"));
    }
    void TearDown() override {
        form.reset();
        panic_mode = 0;
        global_own_HWnd = 0;
        app::FreeGlobalToolWindowList();
        FreeGlobalProgress();
        IsolatedUser::TearDown();
    }
    // Calls `each` for every entry the run lists, with the count so far.
    void OnEachEntry(std::function<void(int)> each) {
        QObject::connect(form->ElListBox1->model(), &QAbstractItemModel::rowsInserted, form.get(),
                         [this, each] { each(form->ElListBox1->count()); });
    }
    void PostCommand(uint16_t code) {
        platform::PostMessage(
            form->OwnHandle(),
            {suite::kToolCodeMessage, suite::PackCodeAndTool(code, kControllerTool), 0});
    }
    // A word list of `n` entries for this tool's list of kind 0.
    void ChooseList(int n) {
        QByteArray text;
        for (int i = 0; i < n; ++i)
            text += "word" + QByteArray::number(i) + "\n";
        SetLemmaMatchStopFilename(current_tool_var, 0,
                                  dir.write(QStringLiteral("list0.txt"), text));
    }

    QString reference;
    std::unique_ptr<TForm1> form;
};

// A word-list load that does a while of work before each of its few yields.
struct SlowYields {
    SlowYields() {
        saved = AYieldProcessProc;
        AYieldProcessProc = {[](void *) {
                                 QThread::msleep(2);
                                 app::ThrottledPump(nullptr);
                             },
                             nullptr};
    }
    ~SlowYields() { AYieldProcessProc = saved; }
    suite::TYieldProc saved;
};

TEST_F(Responsive, StopClickedDuringALongRunEndsIt) {
    OnEachEntry([this](int n) {
        if (n == 1)
            QTimer::singleShot(0, form.get(),
                               [this] { QTest::mouseClick(form->ButtonStop, Qt::LeftButton); });
        LetTimePass();
    });
    form->Button1->click();
    EXPECT_FALSE(form->Running());
    EXPECT_LT(form->ElListBox1->count(), kSuspects) << "the run was not stopped";
    EXPECT_LT(form->PCProgressBar1->Position(), 100);
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
}

// The check of files does not heed the controller's stop commands, but they
// are served during the run, not after it.
TEST_F(Responsive, ControllerStopCommandIsServedDuringALongRun) {
    int servedAt = -1;
    OnEachEntry([this, &servedAt](int n) {
        if (n == 1)
            PostCommand(6121);
        if (panic_mode == 2 && servedAt < 0)
            servedAt = n;
        LetTimePass();
    });
    form->Button1->click();
    ASSERT_EQ(panic_mode, 2);
    EXPECT_GT(servedAt, 0);
    EXPECT_LT(servedAt, kSuspects) << "served only after the run";
}

TEST_F(Responsive, ControllerStopCommandCancelsAWordListLoad) {
    ChooseList(4000);
    SlowYields slow;
    PostCommand(6121);
    EXPECT_FALSE(app::LoadLemmaMatchStopList(0));
    EXPECT_EQ(panic_mode, 2);
    EXPECT_FALSE(Global_stopLemmaMatchLoaded[0]);
    EXPECT_TRUE(LoadedEntries(current_tool_var, 0).isEmpty());
}

// A list load the controller asks for in the middle of a run: a Stop clicked
// during the load is served by the load's yields, and the run ends after it.
TEST_F(Responsive, StopClickedDuringAWordListLoadEndsTheRun) {
    // The slow yields below replace the hook while the run goes on: the
    // run's own threads never read it.
    form->RunJobs = 1;
    ChooseList(4000);
    bool loaded = false, stoppedDuringLoad = false;
    OnEachEntry([&](int n) {
        if (n != 1)
            return;
        QTimer::singleShot(0, form.get(),
                           [this] { QTest::mouseClick(form->ButtonStop, Qt::LeftButton); });
        SlowYields slow;
        loaded = app::LoadLemmaMatchStopList(0);
        stoppedDuringLoad = !form->Detector()->processing;
    });
    form->Button1->click();
    EXPECT_TRUE(loaded) << "Stop is for the run; the load goes on";
    EXPECT_TRUE(stoppedDuringLoad);
    // The load came as the first entry was listed, between two files: the
    // run ends there and no other file is read.
    EXPECT_EQ(form->ElListBox1->count(), 1);
}

} // namespace
