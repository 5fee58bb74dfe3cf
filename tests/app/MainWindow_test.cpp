// The real window, driven offscreen through its widgets and handlers.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResourceStrings.h"
#include "file_crap_detector.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {

class WindowTest : public IsolatedUser {
protected:
    void SetUp() override {
        IsolatedUser::SetUp();
        reference = dir.write("ref/good.txt", GoodText(20));
    }
    void TearDown() override {
        form.reset();
        IsolatedUser::TearDown();
    }

    // Ten files f00..f09 in data/, those at `suspects` cut short.
    void MakeTen(std::initializer_list<int> suspects) {
        for (int i = 0; i < 10; ++i) {
            const bool bad = std::find(suspects.begin(), suspects.end(), i) != suspects.end();
            dir.write(QStringLiteral("data/f%1.txt").arg(i, 2, 10, QLatin1Char('0')),
                      bad ? CutText() : GoodText(3));
        }
    }
    void Open(const QString &folder = QStringLiteral("data")) {
        form = std::make_unique<TForm1>();
        form->show();
        form->ElFileNameEdit1->SetFileList({reference});
        form->ElFolderNameEdit1->SetText(dir.file(folder));
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
    // Runs `action` once, at the first entry the run lists.
    void AtFirstEntry(std::function<void()> action) {
        auto done = std::make_shared<bool>(false);
        QObject::connect(form->ElListBox1->model(), &QAbstractItemModel::rowsInserted, form.get(),
                         [done, action] {
                             if (!*done) {
                                 *done = true;
                                 action();
                             }
                         });
    }

    QString reference;
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowTest, ThreeSuspectsAmongTenAreListedOnceInFileOrderWithBothBarsFull) {
    MakeTen({2, 5, 8});
    Open();
    EXPECT_EQ(form->PCProgressBar1->Position(), 0);
    EXPECT_EQ(form->PCProgressBar2->Position(), 50);
    form->Button1->click();
    EXPECT_EQ(Listed(), (QStringList{Data("f02.txt"), Data("f05.txt"), Data("f08.txt")}));
    const TCrapFileWideStringlist &weird = form->Detector()->weird_files;
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reinterpret_cast<TWideStringHolder *>(
                      form->ElListBox1->item(i)->data(Qt::UserRole).value<quintptr>()),
                  weird.Objects(i));
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

TEST_F(WindowTest, UnusableReferenceLeavesBothBarsAtZeroAndEndsWithTheNotice) {
    MakeTen({2});
    Open();
    form->ElFileNameEdit1->SetFileList({});
    form->Button1->click();
    EXPECT_EQ(form->PCProgressBar1->Position(), 0);
    EXPECT_EQ(form->PCProgressBar2->Position(), 0);
    EXPECT_TRUE(Listed().isEmpty());
    ASSERT_FALSE(Shown().isEmpty());
    EXPECT_EQ(Shown().last(), suite::QLNoCorruptFilesFound());
}

TEST_F(WindowTest, StopMidRunKeepsTheEntriesAndTheBars) {
    MakeTen({2, 5, 8});
    Open();
    // The click is queued and served by the run's own event processing.
    AtFirstEntry([this] {
        QTimer::singleShot(0, form.get(),
                           [this] { QTest::mouseClick(form->ButtonStop, Qt::LeftButton); });
    });
    form->Button1->click();
    // f02 was listed before f03; f03 was finished, then the run ended.
    EXPECT_EQ(Listed(), QStringList{Data("f02.txt")});
    EXPECT_EQ(form->PCProgressBar1->Position(), 30);
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
    const QString reason = form->Detector()->weird_files.Objects(1)->data;
    EXPECT_TRUE(reason.startsWith("File-size ")) << reason.toStdString();
    EXPECT_EQ(form->ElStatusBar1->SimpleText(), reason);

    // The empty part of a list with no selection changes nothing.
    form->ElListBox1->clearSelection();
    QListWidget *list = form->ElListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(5, list->viewport()->height() - 3));
    EXPECT_EQ(form->ElStatusBar1->SimpleText(), reason);
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
    ASSERT_TRUE(form->Detector()->weird_files.Objects(1)->data.startsWith("Too many: "));

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
