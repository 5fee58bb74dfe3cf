// SPDX-License-Identifier: GPL-3.0-or-later
// The real window, driven offscreen through its widgets and handlers.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResourceStrings.h"
#include "TextPaneLoader.h"
#include "file_crap_detector.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
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
            out << form->ElListBox1->item(i)->text();
        return out;
    }
    void ClickItem(int row, bool twice = false) {
        QListWidget *list = form->ElListBox1;
        const QPoint at = list->visualItemRect(list->item(row)).center();
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
        EXPECT_EQ(form->ElListBox1->item(i)->text(), weird.Strings(i));
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

TEST_F(WindowTest, RunErrorNamesFileAndCauseKeepsEntriesAndWindowGoesOn) {
    dir.write("data/f0.txt", CutText());
    const QString lopsided = dir.write("data/f1.txt", LopsidedText());
    dir.write("data/f2.txt", CutText());
    Open();
    form->ElCheckBoxThorough->setChecked(true);
    form->Button1->click();
    EXPECT_EQ(Listed(), QStringList{Data("f0.txt")});
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains(lopsided)) << Shown()[0].toStdString();
    EXPECT_TRUE(Shown()[0].contains("lopsided data: stack overflow in Tree"));
    EXPECT_TRUE(form->ElStatusBar1->SimpleText().startsWith(
        "Ended by a read error: 2 of 3 files checked; 1 suspect by the size test, 0 by the "
        "digraph check; 1 unreadable; "))
        << form->ElStatusBar1->SimpleText().toStdString();

    QFile::remove(lopsided);
    form->Button1->click();
    EXPECT_EQ(Listed(), (QStringList{Data("f0.txt"), Data("f2.txt")}));
    EXPECT_EQ(Shown().size(), 1);
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
    QListWidget *list = form->ElListBox1;
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

TEST_F(WindowTest, EntriesAreDrawnInTheirReasonsColours) {
    dir.write("data/a.txt", CutText());
    dir.write("data/b.txt", OddDigraphText());
    Open();
    form->ElCheckBoxThorough->setChecked(true);
    form->Button1->click();
    ASSERT_EQ(Listed().size(), 2);
    ASSERT_TRUE(form->Detector()->weird_files.Objects(1)->data().startsWith("Too many: "));

    const QColor highlight = form->palette().color(QPalette::Highlight);
    struct Case {
        int index;
        bool selected;
        QColor brush;
    } cases[] = {
        {0, false, QColor(255, 255, 0)},   // size reason: yellow
        {1, false, QColor(255, 251, 240)}, // digraph reason: cream
        {7, false, QColor(255, 251, 240)}, // beyond the suspect list: cream
        {0, true, highlight},              // selected: the system's highlight
    };
    for (const Case &c : cases) {
        QImage img(400, 13, QImage::Format_RGB32);
        img.fill(Qt::black);
        {
            QPainter p(&img);
            form->ElListBox1DrawItem(p, c.index, img.rect(), c.selected);
        }
        EXPECT_EQ(img.pixelColor(399, 6), c.brush) << c.index << " " << c.selected;
        if (!c.selected && c.index < 2) {
            bool navy = false;
            for (int x = 0; x < 200 && !navy; ++x)
                for (int y = 0; y < 13 && !navy; ++y) {
                    const QColor px = img.pixelColor(x, y);
                    navy = px.blue() > 90 && px.red() < 100 && px.green() < 100;
                }
            EXPECT_TRUE(navy) << "no navy text in entry " << c.index;
        }
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
