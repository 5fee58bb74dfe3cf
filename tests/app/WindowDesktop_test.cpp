// The window as a desktop program: the keyboard, the list's commands, full
// reasons, drops, help without a browser, and its looks.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResourceStrings.h"
#include "Tool_imagelist.h"
#include "UrlOpener.h"
#include "file_crap_detector.h"
#include "qlbuf.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <memory>

namespace {

class WindowDesktop : public IsolatedUser {
protected:
    void SetUp() override {
        IsolatedUser::SetUp();
        reference = dir.write("ref/good.txt", GoodText(20));
        cut = dir.write("data/a.txt", CutText());
        odd = dir.write("data/b.txt", OddDigraphText());
        dir.write("data/c.txt", GoodText(3));
        form = std::make_unique<TForm1>();
        form->show();
        form->ElFileNameEdit1->SetFileList({reference});
        form->ElFolderNameEdit1->SetText(dir.file("data"));
        form->ElCheckBoxThorough->setChecked(true);
    }
    void TearDown() override {
        form.reset();
        IsolatedUser::TearDown();
    }
    QString Reason(int i) const { return form->Detector()->weird_files.Objects(i)->data; }

    QString reference, cut, odd;
    std::unique_ptr<TForm1> form;
};

TEST_F(WindowDesktop, CopyCopyAllAndSaveGiveBrindleScansLines) {
    form->Button1->click();
    ASSERT_EQ(form->ElListBox1->count(), 2);
    const QString lines = cut + '\t' + Reason(0) + '\n' + odd + '\t' + Reason(1) + '\n';

    form->ElListBox1->setFocus();
    form->ElListBox1->setCurrentRow(1);
    QTest::keyClick(form->ElListBox1, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), odd + '\t' + Reason(1));
    form->ActionCopyAll->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), lines);
    EXPECT_EQ(form->ElListBox1->actions(),
              (QList<QAction *>{form->ActionCopy, form->ActionCopyAll, form->ActionSaveList}));

    // Saved whole over an old file; a failed save keeps the old file and
    // names the file and the cause.
    const QString saved = dir.write("out/list.tsv", "old\n");
    EXPECT_TRUE(form->SaveListAs(saved));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), lines);
    const QString nowhere = dir.file("missing/list.tsv");
    EXPECT_FALSE(form->SaveListAs(nowhere));
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].startsWith("The list could not be saved to " + nowhere + ":\n"))
        << Shown()[0].toStdString();
}

TEST_F(WindowDesktop, FullReasonInAWrappedTooltipAndElidedInTheStatusBar) {
    form->Button1->click();
    const QString reason = Reason(1);
    ASSERT_TRUE(reason.startsWith("Too many: "));
    const QString tip = form->EntryToolTip(1);
    EXPECT_TRUE(Qt::mightBeRichText(tip)) << "rich text tooltips wrap";
    EXPECT_TRUE(tip.contains(reason.toHtmlEscaped()));
    EXPECT_TRUE(tip.contains(odd));

    form->resize(form->minimumSize());
    QApplication::processEvents();
    const QString longReason = reason.repeated(20);
    form->ElStatusBar1->SetSimpleText(longReason);
    EXPECT_EQ(form->ElStatusBar1->SimpleText(), longReason);
    EXPECT_TRUE(form->ElStatusBar1->ShownText().endsWith(QStringLiteral("…")))
        << form->ElStatusBar1->ShownText().toStdString();
    EXPECT_LE(form->width(), form->minimumWidth()) << "a long reason must not widen the window";
}

TEST_F(WindowDesktop, KeyboardReachesEveryControlInLayoutOrder) {
    const QList<QWidget *> order = {form->ElFileNameEdit1->Edit(),
                                    form->ElFileNameEdit1->BrowseButton(),
                                    form->ElFolderNameEdit1->Edit(),
                                    form->ElFolderNameEdit1->BrowseButton(),
                                    form->ElCheckBox1,
                                    form->ElCheckBoxThorough,
                                    form->ElSpinEditFreqVar,
                                    form->ElSpinEditPercentFail,
                                    form->Button1,
                                    form->ButtonStop,
                                    form->ButtonHelp,
                                    form->ElListBox1,
                                    form->ElMemo1};
    QApplication::setActiveWindow(form.get());
    order[0]->setFocus();
    for (qsizetype i = 1; i < order.size(); ++i) {
        // Stop takes part only during a run.
        if (order[i] == form->ButtonStop)
            continue;
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(order[i]->hasFocus() ||
                    (QApplication::focusWidget() &&
                     QApplication::focusWidget()->focusProxy() == order[i]) ||
                    (order[i]->focusProxy() && order[i]->focusProxy()->hasFocus()))
            << "step " << i << ": focus on "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className()
                                            : "nothing");
    }
    // Each caption's accelerator reaches its field.
    for (QWidget *field : {static_cast<QWidget *>(form->ElFileNameEdit1),
                           static_cast<QWidget *>(form->ElFolderNameEdit1)}) {
        EXPECT_EQ(field == form->ElFileNameEdit1 ? form->ElLabel1->buddy()
                                                 : form->ElLabel2->buddy(),
                  field);
    }
    EXPECT_TRUE(form->ElLabel1->text().contains('&'));
    EXPECT_TRUE(form->ElLabel2->text().contains('&'));
}

TEST_F(WindowDesktop, EnterAndADoubleClickBelowTheEntriesShowTheSelectedFile) {
    form->Button1->click();
    ASSERT_EQ(form->ElListBox1->count(), 2);
    form->ElListBox1->setCurrentRow(1);
    form->ElListBox1->setFocus();
    QTest::keyClick(form->ElListBox1, Qt::Key_Return);
    EXPECT_EQ(form->ElMemo1->Lines().first(), QString::fromLatin1(OddDigraphText()).chopped(2));

    form->ElMemo1->ClearLines();
    QListWidget *list = form->ElListBox1;
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                       QPoint(5, list->viewport()->height() - 3));
    EXPECT_FALSE(form->ElMemo1->Lines().isEmpty());
    EXPECT_FALSE(form->ElMemo1->isReadOnly());
}

TEST_F(WindowDesktop, EscapeStopsARun) {
    // Pressed while the run lists its first entry.
    QObject::connect(form->ElListBox1->model(), &QAbstractItemModel::rowsInserted, form.get(),
                     [this] {
                         if (form->ElListBox1->count() == 1)
                             QTest::keyClick(form.get(), Qt::Key_Escape);
                     });
    form->Button1->click();
    EXPECT_FALSE(form->Detector()->processing);
    EXPECT_LT(form->PCProgressBar1->Position(), 100);
}

TEST_F(WindowDesktop, DropsFillTheFolderAndAddReferences) {
    const QString other = dir.write("more/other.txt", GoodText(5));
    const QString folder = dir.file("more");
    const QPoint onRefs = form->ElFileNameEdit1->mapTo(form.get(), QPoint(5, 5));
    const QPoint onList = form->ElListBox1->mapTo(form.get(), QPoint(5, 5));
    auto mime = [](const QStringList &paths) {
        auto *m = new QMimeData;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << QUrl::fromLocalFile(p);
        m->setUrls(urls);
        return std::unique_ptr<QMimeData>(m);
    };
    EXPECT_TRUE(form->Drop(mime({other, folder}).get(), onRefs));
    EXPECT_EQ(form->ElFileNameEdit1->FileList(), (QStringList{reference, other}));
    EXPECT_EQ(form->ElFolderNameEdit1->Text(), dir.file("data")) << "a folder is no reference";

    EXPECT_TRUE(form->Drop(mime({other, folder}).get(), onList));
    EXPECT_EQ(form->ElFolderNameEdit1->Text(), folder);
    EXPECT_FALSE(form->Drop(mime({other}).get(), onList)) << "a file is no data folder";
    EXPECT_FALSE(form->AcceptsDrop(mime({}).get(), onList));
}

TEST_F(WindowDesktop, HelpWithoutABrowserGivesThePagesPath) {
    struct Refusing : TUrlOpener {
        bool OpenUrl(const QUrl &) override { return false; }
    } refusing;
    TUrlOpener *old = SetUrlOpener(&refusing);
    const QString page = dir.write("help/getting_started.htm", "<html></html>");
    SetHelpfilename(dir.file("help"));
    QApplication::setActiveWindow(form.get());
    QTest::keyClick(form.get(), Qt::Key_F1);
    SetUrlOpener(old);
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains(dir.file("help/"))) << Shown()[0].toStdString();
}

TEST_F(WindowDesktop, LooksStopImageMinimumSizeAndTheVerticalBar) {
    EXPECT_EQ(form->ButtonStop->ImageIndex, kImageListMainStop);
    EXPECT_GT(form->minimumWidth(), form->ElPanel1->width());
    for (const int h : {form->minimumHeight(), 700}) {
        form->resize(800, h);
        QApplication::processEvents();
        EXPECT_EQ(form->PCProgressBar2->geometry().bottom(), form->ElPanel1->height() - 2) << h;
    }
}

// Light captions on the light gradient (a dark desktop palette) would be
// unreadable: the panel then paints from the palette.
TEST_F(WindowDesktop, PanelStaysReadableUnderADarkPalette) {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    form->ElPanel1->setPalette(dark);
    const QImage img = form->ElPanel1->grab().toImage();
    const QColor back = img.pixelColor(img.width() / 2, img.height() - 10);
    EXPECT_GT(std::abs(back.lightness() - 230), TAdvPanel::kMinimumContrast)
        << back.name().toStdString();
}

} // namespace
