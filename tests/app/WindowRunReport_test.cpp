// SPDX-License-Identifier: GPL-3.0-or-later
// What the window says about a run: entries while it goes, the buttons that
// can act, a summary at its end, and no success claimed when nothing was
// checked.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResourceStrings.h"
#include "ResultTable.h"
#include "file_crap_detector.h"

#include <QRegularExpression>
#include <QTest>
#include <memory>

namespace {

class RunReport : public WindowFixture {
protected:
    // The summary without its time, which varies.
    QString Summary() const {
        QString s = form->ElStatusBar1->SimpleText();
        s.remove(QRegularExpression(QStringLiteral("; [0-9.]+ s\\.(?= |$)")));
        return s;
    }
};

TEST_F(RunReport, SummarySaysWhatTheRunDidAndHowItEnded) {
    for (int i = 0; i < 10; ++i)
        dir.write(QStringLiteral("data/f%1.txt").arg(i, 2, 10, QLatin1Char('0')),
                  i == 2 || i == 5 ? CutText()
                  : i == 7         ? OddDigraphText()
                                   : GoodText(3));
    struct Case {
        bool digraph;
        bool stop; // Stop clicked as the first entry is listed
        QString summary;
    } cases[] = {
        {false, false,
         "Finished: 10 files checked; 2 suspect by the size test, digraph check off; 0 "
         "unreadable Rows by code: size 2."},
        {true, false,
         "Finished: 10 files checked; 2 suspect by the size test, 1 by the digraph check; 0 "
         "unreadable Rows by code: digraph 1, size 2."},
        {false, true,
         "Stopped: 3 of 10 files checked; 1 suspect by the size test, digraph check off; 0 "
         "unreadable Rows by code: size 1."},
    };
    for (const Case &c : cases) {
        Open();
        form->ElCheckBoxThorough->setChecked(c.digraph);
        if (c.stop)
            AtFirstEntry([this] { QTest::mouseClick(form->ButtonStop, Qt::LeftButton); });
        form->Button1->click();
        EXPECT_EQ(Summary(), c.summary);
        EXPECT_TRUE(form->ElStatusBar1->SimpleText().contains(QRegularExpression(" s\\.( |$)")))
            << c.summary.toStdString();
    }
}

TEST_F(RunReport, EachButtonIsEnabledOnlyWhenItCanAct) {
    dir.write("data/a.txt", CutText());
    Open();
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_FALSE(form->ButtonStop->isEnabled());
    bool startDuring = true, stopDuring = false;
    AtFirstEntry([&] {
        startDuring = form->Button1->isEnabled();
        stopDuring = form->ButtonStop->isEnabled();
    });
    form->Button1->click();
    EXPECT_FALSE(startDuring);
    EXPECT_TRUE(stopDuring);
    EXPECT_TRUE(form->Button1->isEnabled());
    EXPECT_FALSE(form->ButtonStop->isEnabled());
}

// The last run's reason and file text belong to the last list.
TEST_F(RunReport, StartClearsTheStatusBarAndTheTextPane) {
    dir.write("data/a.txt", CutText());
    Open();
    form->Button1->click();
    form->ElListBox1->setCurrentRow(0);
    ASSERT_TRUE(form->ElStatusBar1->SimpleText().startsWith("File-size "));
    form->ElListBox1DblClick();
    ASSERT_FALSE(form->ElMemo1->Lines().isEmpty());
    QString status = QStringLiteral("unset");
    QStringList pane{QStringLiteral("unset")};
    AtFirstEntry([&] {
        status = form->ElStatusBar1->SimpleText();
        pane = form->ElMemo1->Lines();
    });
    form->Button1->click();
    EXPECT_EQ(status, QString());
    EXPECT_TRUE(pane.isEmpty()) << pane.join("|").toStdString();
}

// An empty folder, or one whose files all lie in subfolders that are not
// searched, is no success: the window names the folder, and hints at
// "include subfolders" only when it would help.
TEST_F(RunReport, NoFilesToCheckIsSaidNotReportedAsSuccess) {
    dir.write("empty/.hidden", CutText());
    dir.write("nested/sub/a.txt", CutText());
    dir.write("hiddensub/.h/a.txt", CutText());
    const QString hint = "\nIts subfolders were not searched: tick \"include subfolders\" to "
                         "check the files in them.";
    const struct {
        QString folder;
        bool subfolders;
        QString shown;
    } cases[] = {
        {"empty", false, "No files were found to check in " + dir.file("empty") + "."},
        {"nested", false, "No files were found to check in " + dir.file("nested") + "." + hint},
        {"hiddensub", false, "No files were found to check in " + dir.file("hiddensub") + "."},
        {"hiddensub", true, "No files were found to check in " + dir.file("hiddensub") + "."},
    };
    for (const auto &c : cases) {
        Open(c.folder);
        form->ElCheckBox1->setChecked(c.subfolders);
        dialogs.shown.clear();
        form->Button1->click();
        EXPECT_EQ(Shown(), QStringList{c.shown});
        EXPECT_EQ(Summary(), "Finished: 0 files checked; 0 suspect by the size test, digraph "
                             "check off; 0 unreadable");
    }
    // With subfolders searched, their files are checked as usual.
    Open("nested");
    form->ElCheckBox1->setChecked(true);
    dialogs.shown.clear();
    form->Button1->click();
    EXPECT_EQ(form->ElListBox1->count(), 1);
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
}

// The size test alone needs no known good texts.
TEST_F(RunReport, SizeTestRunsWithoutReferences) {
    const QString cut = dir.write("data/a.txt", CutText());
    dir.write("data/b.txt", GoodText(3));
    Open();
    form->ElFileNameEdit1->SetFileList({});
    form->Button1->click();
    ASSERT_EQ(form->ElListBox1->count(), 1);
    EXPECT_EQ(form->ElListBox1->Path(0), cut);
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
}

// Suspect files are in the list while the run goes on, not all at its end,
// and a run on several threads lists exactly what one thread lists.
TEST_F(RunReport, EntriesAreListedWhileTheRunGoesOn) {
    for (int i = 0; i < 300; ++i)
        dir.write(QStringLiteral("data/f%1.txt").arg(i, 3, 10, QLatin1Char('0')),
                  i % 3 == 0 ? CutText() + GoodText(200) : GoodText(200));
    QStringList single;
    for (const int jobs : {1, 3}) {
        Open();
        form->RunJobs = jobs;
        int listedDuringRun = 0;
        QObject::connect(form->ElListBox1->model(), &QAbstractItemModel::rowsInserted, form.get(),
                         [&] {
                             if (form->Running() && form->PCProgressBar1->Position() < 100)
                                 listedDuringRun = form->ElListBox1->count();
                         });
        form->Button1->click();
        EXPECT_GT(listedDuringRun, 0) << jobs << " jobs";
        QStringList listed;
        for (int i = 0; i < form->ElListBox1->count(); ++i)
            listed << form->ElListBox1->Path(i);
        EXPECT_EQ(listed.size(), 100);
        if (jobs == 1)
            single = listed;
        else
            EXPECT_EQ(listed, single);
    }
}

} // namespace
