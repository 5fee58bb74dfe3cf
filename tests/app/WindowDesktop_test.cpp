// SPDX-License-Identifier: GPL-3.0-or-later
// The window as a desktop program: the keyboard, the list's commands, full
// reasons, drops, help without a browser, and its looks.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResourceStrings.h"
#include "ResultTable.h"
#include "Tool_imagelist.h"
#include "UrlOpener.h"
#include "file_crap_detector.h"
#include "qlbuf.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>
#include <QTimer>
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
    QString Reason(int i) const { return form->Detector()->weird_files.Objects(i)->data(); }

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

TEST_F(WindowDesktop, KeyboardReachesEveryControlInScreenOrder) {
    // The explanation's button takes part only when it shows; the sets only
    // under the extended checks.
    form->ElCheckBoxExtended->setChecked(true);
    const QList<QWidget *> order = {form->ElComboEncoding,
                                    form->ElFileNameEdit1->Edit(),
                                    form->ElFileNameEdit1->BrowseButton(),
                                    form->ElFolderNameEdit1->Edit(),
                                    form->ElFolderNameEdit1->BrowseButton(),
                                    form->ElCheckBox1,
                                    form->ElCheckBoxExtended,
                                    form->ElCheckBoxThorough,
                                    form->ElCheckBoxLanguages,
                                    form->ElSpinEditFreqVar,
                                    form->ElSpinEditPercentFail,
                                    form->ButtonHelp,
                                    form->ButtonStop,
                                    form->ButtonSets,
                                    form->Button1,
                                    form->FilterKind,
                                    form->FilterPath,
                                    form->ElListBox1,
                                    form->ElMemo1};
    // Down the control panel row by row, each row left to right.
    for (qsizetype i = 1; i < order.size(); ++i) {
        if (order[i]->parentWidget() != form->ElPanel1 ||
            order[i - 1]->parentWidget() != form->ElPanel1)
            continue;
        const QRect a = order[i - 1]->geometry(), b = order[i]->geometry();
        EXPECT_TRUE(b.top() > a.top() + 4 ||
                    (std::abs(b.top() - a.top()) <= 4 && b.left() > a.left()))
            << "step " << i;
    }
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
    // The table shows where the keyboard is.
    form->ElListBox1->clearFocus();
    const QImage unfocused = form->ElListBox1->grab().toImage();
    form->ElListBox1->setFocus(Qt::TabFocusReason);
    EXPECT_NE(form->ElListBox1->grab().toImage(), unfocused);
    // Tab leaves the text pane instead of typing a tab into it.
    form->ElMemo1->SetLinesText(QStringLiteral("text"));
    form->ElMemo1->setFocus();
    QTest::keyClick(form->ElMemo1, Qt::Key_Tab);
    EXPECT_FALSE(form->ElMemo1->hasFocus());
    EXPECT_EQ(form->ElMemo1->toPlainText(), QStringLiteral("text"));
}

// Each underlined letter puts the caret in its field.
TEST_F(WindowDesktop, AltAndTheUnderlinedLetterReachTheField) {
    QApplication::setActiveWindow(form.get());
    const struct {
        Qt::Key key;
        QWidget *field;
    } cases[] = {
        {Qt::Key_K, form->ElFileNameEdit1->Edit()}, {Qt::Key_F, form->ElFolderNameEdit1->Edit()},
        {Qt::Key_Q, form->ElSpinEditFreqVar},       {Qt::Key_P, form->ElSpinEditPercentFail},
        {Qt::Key_E, form->ElComboEncoding},
    };
    for (const auto &c : cases) {
        form->ButtonHelp->setFocus();
        QTest::keyClick(form.get(), c.key, Qt::AltModifier);
        QWidget *focus = QApplication::focusWidget();
        EXPECT_TRUE(focus == c.field || (focus && focus->parentWidget() == c.field))
            << QKeySequence(c.key).toString().toStdString() << ": focus on "
            << (focus ? focus->metaObject()->className() : "nothing");
    }
}

// A long path keeps its file name in view; the tooltip has it whole, and the
// reference field's tooltip lists every reference.
TEST_F(WindowDesktop, LongPathsKeepTheFileNameVisible) {
    const QString deep =
        dir.write(QStringLiteral("data/") + QString(40, 'x') + QStringLiteral("/") +
                      QString(40, 'y') + QStringLiteral("/the-name-to-see.txt"),
                  CutText());
    form->ElCheckBox1->setChecked(true);
    form->Button1->click();
    int row = -1;
    for (int i = 0; i < form->ElListBox1->count(); ++i)
        if (form->ElListBox1->Path(i) == deep)
            row = i;
    ASSERT_GE(row, 0);
    const QString shown = form->EntryShownText(row, 250);
    EXPECT_TRUE(shown.endsWith(QStringLiteral("the-name-to-see.txt"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("…"))) << shown.toStdString();
    EXPECT_LE(form->ElListBox1->fontMetrics().horizontalAdvance(shown), 250);
    EXPECT_EQ(form->EntryShownText(row, 5000), deep);
    EXPECT_TRUE(form->EntryToolTip(row).contains(deep));

    const QString other = dir.write("ref/other.txt", GoodText(5));
    form->ElFileNameEdit1->SetFileList({reference, other});
    EXPECT_EQ(form->ElFileNameEdit1->Edit()->toolTip(), reference + '\n' + other);
    // Typed names count as well.
    form->ElFileNameEdit1->Edit()->setText('"' + other + "\" \"" + reference + '"');
    emit form->ElFileNameEdit1->Edit()->textEdited(form->ElFileNameEdit1->Edit()->text());
    EXPECT_EQ(form->ElFileNameEdit1->Edit()->toolTip(), other + '\n' + reference);
}

// At a large scale the design size may exceed the screen: the window fits
// the free area, so Start, Stop and the status bar stay on screen.
TEST_F(WindowDesktop, WindowFitsASmallScreen) {
    // 1 280 x 1 024 pixels at 200 %, less a panel.
    const QRect available(0, 24, 640, 488);
    form->move(300, 200);
    form->resize(900, 700);
    form->FitInto(available);
    EXPECT_TRUE(available.contains(form->frameGeometry()))
        << form->frameGeometry().width() << "x" << form->frameGeometry().height();
    for (QWidget *w :
         {static_cast<QWidget *>(form->Button1), static_cast<QWidget *>(form->ButtonStop),
          static_cast<QWidget *>(form->ElStatusBar1)})
        EXPECT_TRUE(available.contains(
            QRect(w->mapTo(form.get(), QPoint(0, 0)) + form->geometry().topLeft(), w->size())))
            << w->objectName().toStdString();
    // A screen with room changes nothing.
    const QSize before = form->size();
    form->FitInto(QRect(0, 0, 4000, 3000));
    EXPECT_EQ(form->size(), before);
}

// A value outside a field's range is not changed silently: the status bar
// says the range and the field keeps its value.
TEST_F(WindowDesktop, OutOfRangeValueSaysTheRange) {
    QApplication::setActiveWindow(form.get());
    form->ElSpinEditFreqVar->setFocus();
    form->ElSpinEditFreqVar->selectAll();
    QTest::keyClicks(form->ElSpinEditFreqVar, QStringLiteral("5000"));
    QTest::keyClick(form->ElSpinEditFreqVar, Qt::Key_Return);
    EXPECT_EQ(form->ElSpinEditFreqVar->Value(), 15);
    EXPECT_EQ(form->ElStatusBar1->SimpleText(),
              QStringLiteral("frequency variation (per 1000) takes values from 0 to 1000; 5000 "
                             "is out of range."))
        << form->ElStatusBar1->SimpleText().toStdString();
}

// "Save list as…" adds the list's extension when the name has none.
TEST_F(WindowDesktop, SaveListAsAddsTsvWithoutAnExtension) {
    form->Button1->click();
    ASSERT_EQ(form->ElListBox1->count(), 2);
    const QString folder = dir.file("out");
    QDir().mkpath(folder);
    for (const QString &typed : {QStringLiteral("list"), QStringLiteral("other.txt")}) {
        QTimer::singleShot(0, [&] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            d->setDirectory(folder);
            d->selectFile(typed);
            QMetaObject::invokeMethod(d, "accept");
        });
        form->SaveListAsClick();
    }
    EXPECT_TRUE(QFile::exists(folder + "/list.tsv"));
    EXPECT_FALSE(QFile::exists(folder + "/list"));
    EXPECT_TRUE(QFile::exists(folder + "/other.txt"));
}

TEST_F(WindowDesktop, EnterAndADoubleClickBelowTheEntriesShowTheSelectedFile) {
    form->Button1->click();
    ASSERT_EQ(form->ElListBox1->count(), 2);
    form->ElListBox1->setCurrentRow(1);
    form->ElListBox1->setFocus();
    QTest::keyClick(form->ElListBox1, Qt::Key_Return);
    EXPECT_EQ(form->ElMemo1->Lines().first(), QString::fromLatin1(OddDigraphText()).chopped(2));

    form->ElMemo1->ClearLines();
    QAbstractItemView *list = form->ElListBox1;
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
