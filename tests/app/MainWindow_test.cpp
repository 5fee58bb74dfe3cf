// SPDX-License-Identifier: GPL-3.0-or-later
// The real window, driven offscreen through its widgets and handlers.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResourceStrings.h"
#include "ResultTable.h"
#include "RunSummary.h"
#include "StatusColours.h"
#include "TextPaneLoader.h"
#include "file_crap_detector.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>
#include <unistd.h>

namespace {

class WindowTest : public WindowFixture {
protected:
    // Ten files f00..f09 in data/, those at `suspects` cut short.
    void MakeTen(std::initializer_list<int> suspects) {
        for (int i = 0; i < 10; ++i) {
            const bool bad = std::find(suspects.begin(), suspects.end(), i) != suspects.end();
            dir.write(QStringLiteral("data/f%1.txt").arg(i, 2, 10, QLatin1Char('0')),
                      bad ? CutText() : GoodText(3));
        }
    }
    QString Data(const QString &name) const { return dir.file(QStringLiteral("data/") + name); }
    QStringList Listed() const {
        QStringList out;
        for (int i = 0; i < form->ElListBox1->count(); ++i)
            out << form->ElListBox1->Path(i);
        return out;
    }
    void ClickItem(int row, bool twice = false) {
        app::TResultTable *list = form->ElListBox1;
        const QPoint at = list->EntryRect(row).center();
        // A double-click is a click followed by the double-click event.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice)
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(WindowTest, ThreeSuspectsAmongTenAreListedOnceInFileOrderWithBothBarsFull) {
    MakeTen({2, 5, 8});
    Open();
    EXPECT_EQ(form->PCProgressBar1->Position(), 0);
    EXPECT_EQ(form->PCProgressBar2->Position(), 50);
    form->Button1->click();
    EXPECT_EQ(Listed(), (QStringList{Data("f02.txt"), Data("f05.txt"), Data("f08.txt")}));
    const TCrapFileWideStringlist &weird = form->Detector()->weird_files;
    // Row i is entry i: the window finds a row's reason by its index.
    ASSERT_EQ(weird.Count(), form->ElListBox1->count());
    for (int i = 0; i < weird.Count(); ++i)
        EXPECT_EQ(form->ElListBox1->Path(i), weird.Strings(i));
    EXPECT_EQ(form->PCProgressBar1->Position(), 100);
    EXPECT_EQ(form->PCProgressBar2->Position(), 100);
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();

    // A second run starts from an empty list and lists them once again.
    form->Button1->click();
    EXPECT_EQ(Listed().size(), 3);
}

TEST_F(WindowTest, RunFindingNothingShowsTheNoticeOnceAfterTheRun) {
    MakeTen({});
    Open();
    form->Button1->click();
    EXPECT_TRUE(Listed().isEmpty());
    EXPECT_EQ(Shown(), QStringList{suite::QLNoCorruptFilesFound()});
    EXPECT_EQ(form->PCProgressBar1->Position(), 100);
}

// No run takes place without a usable reference: the reference problem is
// the only thing said, once, and nothing is said of a result.
TEST_F(WindowTest, UnusableReferenceIsReportedOnceAndNothingElse) {
    MakeTen({2});
    const QString missing = dir.file("ref/gone.txt");
    const QString binary = dir.write("ref/binary.txt", CutText());
    const QString digits = dir.write("ref/digits.txt", "123 456\r\n");
    const QString problem = suite::QLREferenceTextTooShortOrProblematic().section('%', 0, 0);
    const QString none = "The digraph check needs known good text files";
    const struct {
        QStringList refs;
        bool digraph;
        QStringList shownStart; // each message's beginning, in order
    } cases[] = {
        {{}, true, {none}},
        // A missing file is named once, not followed by a second message.
        {{reference, missing}, false, {suite::QLFailedToFind().arg(missing)}},
        {{reference, missing}, true, {suite::QLFailedToFind().arg(missing)}},
        {{digits}, true, {problem}},
        {{reference, binary}, false, {problem}},
    };
    for (const auto &c : cases) {
        Open();
        form->ElFileNameEdit1->SetFileList(c.refs);
        form->ElCheckBoxThorough->setChecked(c.digraph);
        dialogs.shown.clear();
        form->Button1->click();
        EXPECT_EQ(form->PCProgressBar1->Position(), 0);
        EXPECT_EQ(form->PCProgressBar2->Position(), 0);
        EXPECT_TRUE(Listed().isEmpty());
        const QStringList shown = Shown();
        ASSERT_EQ(shown.size(), c.shownStart.size()) << shown.join("|").toStdString();
        for (int i = 0; i < shown.size(); ++i)
            EXPECT_TRUE(shown[i].startsWith(c.shownStart[i])) << shown[i].toStdString();
    }
}

// A reference that fails the size test would skew every verdict; it is
// reported with its figures, like one without digraphs.
TEST_F(WindowTest, ReferenceFailingTheSizeTestIsReportedWithItsFigures) {
    MakeTen({2});
    const QString binary = dir.write("ref/binary.txt", CutText());
    Open();
    form->ElFileNameEdit1->SetFileList({reference, binary});
    form->Button1->click();
    ASSERT_EQ(Shown().size(), 1) << Shown().join("|").toStdString();
    EXPECT_TRUE(Shown()[0].contains(binary + ": not a usable text: it fails the size test "
                                             "(File-size 35 but text-length 12)"))
        << Shown()[0].toStdString();
    EXPECT_FALSE(form->Detector()->reference_setup);
}

// A folder that cannot be walked is named with the cause; nothing claims
// that no corrupt file was found.
TEST_F(WindowTest, UnreadableDataFolderIsNamedWithItsCause) {
    MakeTen({2});
    const QString file = dir.write("plain.txt", GoodText(2));
    const QString locked = dir.file("locked");
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFileDevice::Permissions());
    const bool canLock = ::access(QFile::encodeName(locked).constData(), R_OK) != 0;
    struct Case {
        QString folder;
        QString shown;
    };
    std::vector<Case> cases = {
        {dir.file("nowhere"), "The folder of data " + dir.file("nowhere") +
                                  " could not be read:\nNo such file or directory"},
        {file, "The folder of data " + file + " could not be read:\nNot a directory"},
        {QString(), "No folder of data is given."},
    };
    if (canLock) // not as root
        cases.push_back(
            {locked, "The folder of data " + locked + " could not be read:\nPermission denied"});
    for (const Case &c : cases) {
        Open();
        form->ElFolderNameEdit1->SetText(c.folder);
        dialogs.shown.clear();
        form->Button1->click();
        EXPECT_EQ(Shown(), QStringList{c.shown});
        EXPECT_TRUE(Listed().isEmpty());
    }
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST_F(WindowTest, UnreadableSubfolderIsReportedInsteadOfTheNotice) {
    dir.write("data/a.txt", GoodText(3));
    const QString locked = dir.file("data/locked");
    dir.write("data/locked/b.txt", CutText());
    QFile::setPermissions(locked, QFileDevice::Permissions());
    if (::access(QFile::encodeName(locked).constData(), R_OK) == 0) {
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        GTEST_SKIP() << "permissions are not enforced (root)";
    }
    Open();
    form->ElCheckBox1->setChecked(true);
    form->Button1->click();
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains(locked)) << Shown()[0].toStdString();
    EXPECT_FALSE(Shown().contains(suite::QLNoCorruptFilesFound()));
}

// A relative folder text is taken from the current folder; the list shows
// full paths, as the walk gives them.
TEST_F(WindowTest, RelativeFolderGivesFullPaths) {
    const QString cut = dir.write("data/a.txt", CutText());
    Open();
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.file(""));
    form->ElFolderNameEdit1->SetText(QStringLiteral("data"));
    form->Button1->click();
    QDir::setCurrent(before);
    EXPECT_EQ(Listed(), QStringList{cut});
}

// A Start that fails while the reference is read leaves the list as the
// failed Start left it (empty), not the previous run's entries again.
TEST_F(WindowTest, StartFailingOnTheReferenceLeavesTheListEmpty) {
    MakeTen({2, 5});
    Open();
    form->Button1->click();
    ASSERT_EQ(Listed().size(), 2);
    const QString lopsided = dir.write("ref/lopsided.txt", LopsidedText());
    form->ElFileNameEdit1->SetFileList({lopsided});
    dialogs.shown.clear();
    form->Button1->click();
    EXPECT_TRUE(Listed().isEmpty()) << Listed().join("|").toStdString();
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains(lopsided)) << Shown()[0].toStdString();
    EXPECT_TRUE(Shown()[0].contains("lopsided data: stack overflow in Tree"));
}

TEST_F(WindowTest, StopMidRunKeepsTheEntriesAndTheBars) {
    MakeTen({2, 5, 8});
    Open();
    // Clicked while the run lists its first entry, as soon as f02 is checked.
    AtFirstEntry([this] { QTest::mouseClick(form->ButtonStop, Qt::LeftButton); });
    form->Button1->click();
    // The run ends there, between files: f03 is not started and the bar
    // keeps the share announced before f02.
    EXPECT_EQ(Listed(), QStringList{Data("f02.txt")});
    EXPECT_EQ(form->PCProgressBar1->Position(), 20);
    EXPECT_EQ(form->PCProgressBar2->Position(), 0);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(WindowTest, SecondStartDuringARunIsRefused) {
    MakeTen({2, 5, 8});
    Open();
    AtFirstEntry([this] {
        EXPECT_TRUE(form->Running());
        form->Button1->click();
    });
    form->Button1->click();
    EXPECT_EQ(Listed(), (QStringList{Data("f02.txt"), Data("f05.txt"), Data("f08.txt")}));
    EXPECT_FALSE(form->Running());
}

TEST_F(WindowTest, ClosingDuringARunStopsItFirstThenCloses) {
    MakeTen({2, 5, 8});
    Open();
    AtFirstEntry([this] { EXPECT_FALSE(form->close()); });
    form->Button1->click();
    EXPECT_EQ(Listed(), QStringList{Data("f02.txt")});
    EXPECT_NE(form->Detector(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_FALSE(form->isVisible());
}

// A file that cannot be checked is listed as unreadable with its cause and
// the run goes on, through the subfolders too; with nothing else suspect the
// window never says that no corrupt file was found.
TEST_F(WindowTest, UnreadableFilesAreListedWithTheirCauseAndTheRunGoesOn) {
    const QString lopsided = dir.write("data/a1.txt", LopsidedText());
    const QString unreadable = Data("a2.txt");
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), unreadable));
    for (int i = 0; i < 20; ++i)
        dir.write(QStringLiteral("data/sub/g%1.txt").arg(i, 2, 10, QLatin1Char('0')), GoodText(3));
    const struct { bool withSuspect; } cases[] = {{false}, {true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.withSuspect);
        if (c.withSuspect)
            dir.write("data/sub/z.txt", CutText());
        Open();
        // The link leads out of the folder: only a walk told to follows it.
        form->Detector()->follow_links = true;
        form->ElCheckBox1->setChecked(true);
        form->ElCheckBoxThorough->setChecked(true);
        dialogs.shown.clear();
        form->Button1->click();
        QStringList expected{lopsided, unreadable};
        if (c.withSuspect)
            expected << Data("sub/z.txt");
        EXPECT_EQ(Listed(), expected);
        const TCrapFileWideStringlist &weird = form->Detector()->weird_files;
        ASSERT_EQ(weird.Count(), expected.size());
        EXPECT_TRUE(weird.Objects(0)->unreadable);
        EXPECT_EQ(weird.Objects(0)->data(), "lopsided data: stack overflow in Tree");
        EXPECT_TRUE(weird.Objects(1)->unreadable);
        EXPECT_EQ(weird.Objects(1)->data(), "Input/output error");
        const QString summary = form->ElStatusBar1->SimpleText();
        EXPECT_TRUE(summary.startsWith(QStringLiteral("Finished: %1 files checked; %2 suspect by "
                                                      "the size test, 0 by the digraph check; "
                                                      "2 unreadable; ")
                                           .arg(c.withSuspect ? 23 : 22)
                                           .arg(c.withSuspect ? 1 : 0)))
            << summary.toStdString();
        EXPECT_TRUE(summary.endsWith(c.withSuspect ? " Rows by code: size 1, unreadable 2."
                                                   : " Rows by code: unreadable 2."))
            << summary.toStdString();
        // Beside the filter, each code with its rows.
        EXPECT_NE(form->FilterKind->findText("unreadable (2)"), -1);
        EXPECT_FALSE(Shown().contains(suite::QLNoCorruptFilesFound()));
        if (c.withSuspect)
            EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
        else
            EXPECT_EQ(Shown(), QStringList{app::UnreadableFilesNote(2)});
    }
}

// The sets are a choice of the extended checks: their controls follow the
// box, and the message for a digraph check without references names the
// built-in languages as the other way.
TEST_F(WindowTest, SetControlsFollowTheExtendedChecksAndTheMessageNamesTheLanguages) {
    MakeTen({});
    Open();
    for (const bool extended : {false, true, false}) {
        form->ElCheckBoxExtended->setChecked(extended);
        EXPECT_EQ(form->ElCheckBoxLanguages->isEnabled(), extended);
        EXPECT_EQ(form->ButtonSets->isEnabled(), extended);
    }
    form->ElFileNameEdit1->SetFileList({});
    form->ElCheckBoxThorough->setChecked(true);
    form->Button1->click();
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains("\"built-in languages\"")) << Shown()[0].toStdString();
}

// Under a dark desktop palette the visual style leaves every pane in the
// desktop's colours: the table, the text pane and the status bar turn dark
// with the rest, and the rows take their dark colours.
TEST_F(WindowTest, EveryPaneFollowsADarkDesktopPalette) {
    const QPalette before = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    QApplication::setPalette(dark);
    dir.write("data/a.txt", CutText());
    Open();
    for (const TTMSStyle style : {TTMSStyle(0), TTMSStyle(14)}) {
        form->ApplyStyleToForm(style);
        form->Button1->click();
        for (QWidget *pane :
             {static_cast<QWidget *>(form->ElListBox1), static_cast<QWidget *>(form->ElMemo1)})
            EXPECT_LT(pane->palette().color(QPalette::Base).lightness(), 128)
                << pane->objectName().toStdString() << " style " << int(style);
        EXPECT_LT(form->ElStatusBar1->palette().color(QPalette::Window).lightness(), 128);
        EXPECT_EQ(form->ElListBox1->Model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
                  app::RowColours(app::TRowStatus::Size, dark).background);
    }
    form.reset();
    QApplication::setPalette(before);
}

TEST_F(WindowTest, ClickPutsTheFullReasonInTheStatusBar) {
    MakeTen({2, 5});
    Open();
    form->Button1->click();
    ASSERT_EQ(Listed().size(), 2);
    ClickItem(1);
    const QString reason = form->Detector()->weird_files.Objects(1)->data();
    EXPECT_TRUE(reason.startsWith("File-size ")) << reason.toStdString();
    EXPECT_EQ(form->ElStatusBar1->SimpleText(), reason);

    // The empty part of a list with no selection changes nothing.
    form->ElListBox1->clearSelection();
    app::TResultTable *list = form->ElListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(form->ElStatusBar1->SimpleText(), reason);
}

// A huge suspect shows its start with a note, not all of it: the pane never
// takes more than its limit, however large the file.
TEST_F(WindowTest, DoubleClickOnAHugeFileShowsItsStartAndSaysItIsCut) {
    const QByteArray line = "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz012\n";
    QByteArray start;
    while (start.size() < app::kPaneTextLimit + 4 * line.size())
        start += line;
    const QString file = dir.write("data/huge.txt", start);
    {
        // Zeros after the text: suspect by size, and no room taken on disk.
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(qint64(start.size()) * 8));
    }
    Open();
    form->Button1->click();
    ASSERT_EQ(Listed(), QStringList{file});
    ClickItem(0, true);
    const QStringList lines = form->ElMemo1->Lines();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.first(), QString::fromLatin1(line.chopped(1)));
    EXPECT_EQ(lines.last(), app::PaneCutNote(app::kPaneTextLimit));
    EXPECT_LE(form->ElMemo1->toPlainText().size(), app::kPaneTextLimit + 200);
    EXPECT_TRUE(Shown().isEmpty());
}

TEST_F(WindowTest, DoubleClickShowsAUtf16FileAndReportsOneThatCannotBeLoaded) {
    const QString text = QStringLiteral("Grüße aus Köln\r\nzweite Zeile\r\n");
    QByteArray bytes = Utf16LeWithMark(text);
    bytes += QByteArray(40, '\0'); // a NUL ends the text: suspect by size
    const QString file = dir.write("data/u16.txt", bytes);
    Open();
    form->Button1->click();
    ASSERT_EQ(Listed(), QStringList{file});
    ClickItem(0, true);
    EXPECT_EQ(form->ElMemo1->Lines(),
              (QStringList{QStringLiteral("Grüße aus Köln"), QStringLiteral("zweite Zeile")}));

    QFile::remove(file);
    ClickItem(0, true);
    EXPECT_TRUE(form->ElMemo1->Lines().isEmpty());
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains(file));
    EXPECT_TRUE(Shown()[0].contains("No such file")) << Shown()[0].toStdString();
}

namespace {

double Luminance(const QColor &c) {
    const auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double Contrast(const QColor &a, const QColor &b) {
    const double x = Luminance(a), y = Luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace

// Each status has its own colours, readable in the light and the dark
// palette; the rows are painted in them, size-test rows yellow as always.
TEST_F(WindowTest, RowsArePaintedInTheirStatusColoursInLightAndDarkPalettes) {
    dir.write("data/a.txt", CutText());
    dir.write("data/b.txt", OddDigraphText());
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/mem"), Data("c.txt")));
    Open();
    form->Detector()->follow_links = true;
    form->ElCheckBoxThorough->setChecked(true);
    form->Button1->click();
    ASSERT_EQ(Listed().size(), 3);
    app::TResultModel *model = form->ElListBox1->Model();
    const auto background = [&](int row) {
        return model->index(row, 0).data(Qt::BackgroundRole).value<QColor>();
    };
    EXPECT_EQ(background(0), QColor(255, 255, 0));
    // What is painted: the size-test row's yellow is on screen.
    form->show();
    const QImage shown = form->ElListBox1->viewport()->grab().toImage();
    const QRect first = form->ElListBox1->EntryRect(0);
    EXPECT_EQ(shown.pixelColor(first.right() - 2, first.center().y()), QColor(255, 255, 0));

    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    for (const QPalette &palette : {form->ElListBox1->palette(), dark}) {
        form->ElListBox1->setPalette(palette);
        form->setPalette(palette);
        const QColor base = palette.color(QPalette::Base);
        QList<QColor> seen;
        for (int s = 0; s < app::kRowStatusCount; ++s) {
            const app::TRowColours c = app::RowColours(app::TRowStatus(s), palette);
            EXPECT_GE(Contrast(c.text, c.background), 7.0) << s;
            EXPECT_FALSE(seen.contains(c.background)) << s;
            const int apart = std::max({std::abs(c.background.red() - base.red()),
                                        std::abs(c.background.green() - base.green()),
                                        std::abs(c.background.blue() - base.blue())});
            EXPECT_GE(apart, 24) << s << ": passes for an empty field";
            seen << c.background;
            // The legend names each status in its colours.
            EXPECT_TRUE(form->Legend->text().contains(c.background.name())) << s;
        }
        EXPECT_EQ(background(2), app::RowColours(app::TRowStatus::Unreadable, palette).background);
    }
}

TEST_F(WindowTest, IncludeSubfoldersDecidesWhetherSubfoldersAreWalked) {
    const QString top = dir.write("data/a.txt", CutText());
    const QString deep = dir.write("data/sub/b.txt", CutText());
    Open();
    form->Button1->click();
    EXPECT_EQ(Listed(), QStringList{top});
    form->ElCheckBox1->setChecked(true);
    form->Button1->click();
    EXPECT_EQ(Listed(), (QStringList{top, deep}));
}

} // namespace
