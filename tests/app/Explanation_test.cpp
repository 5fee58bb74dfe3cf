// SPDX-License-Identifier: GPL-3.0-or-later
// The explanation of a selected entry, from hand-made verdicts: the pair
// chart, the score against the cut, the damage with its offset and the jump
// to that byte in the text pane; and how the window lists and counts what
// the extended checks give.

#include "AppTestSupport.h"
#include "ExplanationPanel.h"
#include "MainWindow.h"
#include "PairChart.h"
#include "ReferenceSetList.h"
#include "ReferenceSets.h"
#include "ResultTable.h"
#include "RunSummary.h"
#include "SuspectLine.h"
#include "TextPaneLoader.h"
#include "file_crap_detector.h"

#include <QApplication>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

namespace {

engine::TPairDeviation Pair(const char *pair, float file, float reference) {
    return {QString::fromLatin1(pair), file, reference};
}

engine::TVerdict DigraphVerdict() {
    engine::TVerdict v;
    v.test = engine::TSuspectTest::Digraph;
    v.reason = QStringLiteral("Too many: QX(0.04)");
    engine::TExtendedDetail &d = v.extended.emplace();
    d.set = QStringLiteral("German");
    d.score = 0.3125;
    d.cut = 0.12;
    d.too_many_pairs = {Pair("QX", 0.040f, 0.0f), Pair("ZV", 0.010f, 0.002f)};
    d.too_few_pairs = {Pair("TH", 0.001f, 0.031f), Pair("ER", 0.010f, 0.020f)};
    return v;
}

engine::TVerdict DamageVerdict(int64_t offset) {
    engine::TVerdict v;
    v.test = engine::TSuspectTest::Damage;
    v.reason = QStringLiteral("NUL bytes in a text");
    v.extended.emplace().damage = engine::TDamage{engine::TDamageCode::Nul, offset, v.reason};
    return v;
}

// The user's number format for the length of a test.
class GermanNumbers {
public:
    GermanNumbers() : fOld(QLocale()) { QLocale::setDefault(QLocale(QLocale::German)); }
    ~GermanNumbers() { QLocale::setDefault(fOld); }

private:
    QLocale fOld;
};

int CountColour(const QImage &img, const QColor &colour, int y) {
    int n = 0;
    for (int x = 0; x < img.width(); ++x)
        n += img.pixelColor(x, y) == colour;
    return n;
}

TEST(PairChart, KeepsTheMostDeviatingPairsFirstAndDrawsBothBarsToOneScale) {
    TPairChart chart;
    std::vector<engine::TPairDeviation> many;
    for (int i = 0; i < 10; ++i)
        many.push_back(Pair("A", 0.001f * float(i + 1), 0.0f));
    many[3].pair = QStringLiteral("BB"); // the tie with nothing: 0.004
    chart.SetPairs(many, {Pair("TH", 0.0f, 0.0095f)});
    ASSERT_EQ(chart.Pairs().size(), size_t(TPairChart::kMostPairs));
    EXPECT_FLOAT_EQ(chart.Pairs()[0].file, 0.010f);
    EXPECT_EQ(chart.Pairs()[1].pair, QStringLiteral("TH")) << "too few counts by its difference";
    EXPECT_FLOAT_EQ(chart.Pairs()[2].file, 0.009f);
    EXPECT_FLOAT_EQ(chart.Pairs().back().file, 0.004f) << "the smallest three are left out";

    // A too-many pair: a long file bar and no set bar; a too-few pair the
    // other way round. Rows start after the legend.
    chart.SetPairs({Pair("QX", 0.04f, 0.0f)}, {Pair("TH", 0.002f, 0.03f)});
    chart.resize(300, chart.sizeHint().height());
    const QImage img = chart.grab().toImage();
    int fileBar[2] = {0, 0}, setBar[2] = {0, 0};
    for (int row = 0; row < 2; ++row)
        for (int y = TPairChart::kRowHeight * (row + 1); y < TPairChart::kRowHeight * (row + 2);
             ++y) {
            fileBar[row] = std::max(fileBar[row], CountColour(img, TPairChart::kFileColour, y));
            setBar[row] = std::max(setBar[row], CountColour(img, TPairChart::kSetColour, y));
        }
    EXPECT_GT(fileBar[0], 100);
    EXPECT_LE(setBar[0], 1);
    EXPECT_LT(fileBar[1], 10);
    EXPECT_GT(setBar[1], fileBar[0] * 3 / 5) << "0.03 against 0.04 on one scale";
}

class ExplanationTest : public IsolatedUser {};

TEST_F(ExplanationTest, ShowsTheSetTheScoreAndTheChartOrTheDamageWithItsByte) {
    GermanNumbers german;
    TExplanationPanel panel;
    panel.Show(DigraphVerdict());
    EXPECT_FALSE(panel.isHidden());
    EXPECT_TRUE(panel.Heading->text().contains("\"German\""))
        << panel.Heading->text().toStdString();
    // Words and figures agree: over the cut is said so.
    EXPECT_EQ(panel.Score->text(), QStringLiteral("score 0,31, over the cut 0,12"));
    EXPECT_FALSE(panel.Gauge->isHidden());
    EXPECT_EQ(panel.Chart->Pairs().size(), size_t(4));
    EXPECT_EQ(panel.Chart->Pairs().front().pair, QStringLiteral("QX"));
    EXPECT_TRUE(panel.GoToByte->isHidden());

    panel.Show(DamageVerdict(123456));
    EXPECT_TRUE(panel.Heading->text().contains("nul"));
    EXPECT_TRUE(panel.Heading->text().contains("NUL bytes in a text"));
    EXPECT_TRUE(panel.Score->isHidden());
    EXPECT_TRUE(panel.Chart->isHidden());
    EXPECT_FALSE(panel.GoToByte->isHidden());
    // As the reason writes the offset, whatever the number format.
    EXPECT_EQ(panel.GoToByte->text(), QStringLiteral("Go to byte 123456"));
    QSignalSpy spy(&panel, &TExplanationPanel::GoToByteClicked);
    panel.GoToByte->click();
    ASSERT_EQ(spy.size(), 1);
    EXPECT_EQ(spy[0][0].toLongLong(), 123456);

    // Damage without one place has no button.
    panel.Show(DamageVerdict(-1));
    EXPECT_TRUE(panel.GoToByte->isHidden());

    // What the design tests give has nothing more to show than its reason.
    engine::TVerdict size;
    size.reason = QStringLiteral("File-size 20 but text-length 3");
    engine::TVerdict digraph = DigraphVerdict();
    digraph.extended.reset();
    for (const engine::TVerdict &v : {size, digraph}) {
        panel.Show(v);
        EXPECT_TRUE(panel.isHidden());
    }
}

class WindowExplains : public WindowFixture {
protected:
    // Lists `path` with `verdict` as a run would: row i is entry i.
    void List(const QString &path, const engine::TVerdict &verdict,
              engine::TCheckResult result = engine::TCheckResult::Suspect) {
        form->Detector()->weird_files.AddObject(path, new TWideStringHolder(verdict, result));
        form->ElListBox1->Model()->Sync();
    }
    void Select(int row) {
        form->ElListBox1->setCurrentRow(row);
        form->ElListBox1Click();
    }
    // The pane's selection: its line and column, and the text selected.
    std::tuple<int, int, QString> Selection() const {
        const QTextCursor c = form->ElMemo1->textCursor();
        const QTextBlock b = form->ElMemo1->document()->findBlock(c.selectionStart());
        return {b.blockNumber(), c.selectionStart() - b.position(), c.selectedText()};
    }
};

TEST_F(WindowExplains, SelectingAnEntryShowsItsExplanationBelowTheTextPane) {
    Open();
    const QString damaged = dir.write("data/d.txt", "first line\nsecond \x01 line\n");
    List(dir.file("data/g.txt"), DigraphVerdict());
    List(damaged, DamageVerdict(18));
    engine::TVerdict size;
    size.reason = QStringLiteral("File-size 20 but text-length 3");
    List(dir.file("data/s.txt"), size);
    EXPECT_TRUE(form->Explanation->isHidden()) << "nothing selected, nothing explained";

    Select(0);
    EXPECT_FALSE(form->Explanation->isHidden());
    EXPECT_GT(form->ElSplitter1->sizes().value(2), 50) << "the panel gets room to show";
    EXPECT_EQ(form->Explanation->Chart->Pairs().size(), size_t(4));
    // It names the file it explains, and at the window's first size every
    // pair of the chart is drawn whole, or the panel scrolls to it.
    EXPECT_TRUE(form->Explanation->Heading->text().startsWith(dir.file("data/g.txt") + "\n"));
    QApplication::processEvents();
    EXPECT_GE(form->Explanation->Chart->height(), form->Explanation->Chart->sizeHint().height());
    EXPECT_TRUE(form->ExplanationScroll->verticalScrollBar()->maximum() > 0 ||
                form->Explanation->height() <= form->ExplanationScroll->viewport()->height());

    // The jump shows the file with the damaged character selected.
    Select(1);
    form->Explanation->GoToByte->click();
    EXPECT_EQ(Selection(), std::make_tuple(1, 7, QStringLiteral("\x01")));
    // The text pane follows the selected row: another row clears it, and the
    // pane says whose text a double-click would show.
    EXPECT_EQ(form->PaneEntry(), 1);
    Select(0);
    EXPECT_TRUE(form->ElMemo1->toPlainText().isEmpty());
    EXPECT_EQ(form->PaneEntry(), -1);
    EXPECT_TRUE(form->ElMemo1->placeholderText().contains(dir.file("data/g.txt")));
    Select(1);

    Select(2);
    EXPECT_TRUE(form->Explanation->isHidden());

    // A new run starts without an explanation.
    Select(0);
    form->Button1->click();
    EXPECT_TRUE(form->Explanation->isHidden());
}

// Past the start the pane holds of a huge file, the jump reads the text
// around the byte and says where it begins.
TEST_F(WindowExplains, GoToAByteDeepInAHugeFileShowsTheTextAroundIt) {
    const QByteArray line = "abcdefghijklmnopqrstuvwxyz0123456789abcdefghijklmnopqrstuvwxyz012\n";
    QByteArray bytes;
    while (bytes.size() < app::kPaneTextLimit + 200 * line.size())
        bytes += line;
    const qsizetype damage = bytes.size() - 100 * line.size() + 5;
    bytes[damage] = '\x02';
    const QString file = dir.write("data/huge.txt", bytes);
    Open();
    List(file, DamageVerdict(damage));
    Select(0);
    ASSERT_TRUE(form->GoToByte(damage));
    const auto [blockNumber, column, selected] = Selection();
    EXPECT_EQ(column, 5);
    EXPECT_EQ(selected, QStringLiteral("\x02"));
    const QString first = form->ElMemo1->document()->firstBlock().text();
    EXPECT_TRUE(first.startsWith("[Shown from byte ")) << first.toStdString();
    EXPECT_LT(form->ElMemo1->toPlainText().size(), 200 * 1024);
    EXPECT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();

    QFile::remove(file);
    EXPECT_FALSE(form->GoToByte(damage));
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].contains(file)) << Shown()[0].toStdString();
}

TEST(RunSummaryExtended, CountsDamageAndTooShortApartOnlyUnderTheExtendedChecks) {
    TFileCrapDetector::TRunCounts counts;
    counts.files = counts.checked = 12;
    counts.size_suspects = 1;
    counts.digraph_suspects = 2;
    counts.damage_suspects = 3;
    counts.too_short = 4;
    EXPECT_EQ(app::RunSummary(counts, true, app::TRunEnd::Finished, 400, true),
              "Finished: 12 files checked; 1 suspect by the size test, 2 by the digraph check, "
              "3 by the damage checks; 4 too short to judge; 0 unreadable; 0.40 s.");
    EXPECT_EQ(app::RunSummary(counts, true, app::TRunEnd::Finished, 400),
              "Finished: 12 files checked; 1 suspect by the size test, 2 by the digraph check; "
              "0 unreadable; 0.40 s.");
}

} // namespace

namespace {

// A real run under the extended checks: damage with its byte, a file too
// short to judge, a digraph suspect with its set and score; the good file
// passes, and the summary counts each apart.
TEST_F(WindowExplains, ExtendedRunListsDamageTooShortAndTheClosestSet) {
    QByteArray damaged = GoodText(20);
    const qsizetype at = 200;
    damaged.replace(at, 4, QByteArray("\x01\x02\x03\x04", 4));
    const QString damagedFile = dir.write("data/a-damaged.txt", damaged);
    const QString shortFile = dir.write("data/b-short.txt", "Back at six.\r\n");
    dir.write("data/c-good.txt", GoodText(20));
    QByteArray odd;
    for (int i = 0; i < 500; ++i)
        odd += "XQ ZV ";
    const QString oddFile = dir.write("data/d-odd.txt", odd + "\r\n");
    Open();
    form->ElCheckBoxThorough->setChecked(true);
    form->ElCheckBoxExtended->setChecked(true);
    form->Button1->click();
    ASSERT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
    const TCrapFileWideStringlist &weird = form->Detector()->weird_files;
    ASSERT_EQ(weird.Count(), 3);
    EXPECT_EQ(weird.Strings(0), damagedFile);
    EXPECT_EQ(weird.Strings(1), shortFile);
    EXPECT_EQ(weird.Strings(2), oddFile);
    const engine::TVerdict &damage = weird.Objects(0)->details;
    EXPECT_EQ(damage.test, engine::TSuspectTest::Damage);
    EXPECT_EQ(engine::VerdictCode(damage, engine::TCheckResult::Suspect),
              QStringLiteral("control"));
    EXPECT_EQ(engine::DamageOffset(damage), at);
    EXPECT_TRUE(weird.Objects(1)->TooShort());
    const engine::TVerdict &digraph = weird.Objects(2)->details;
    EXPECT_EQ(digraph.test, engine::TSuspectTest::Digraph);
    ASSERT_TRUE(digraph.extended);
    EXPECT_EQ(digraph.extended->set, QStringLiteral("reference"));
    EXPECT_GT(digraph.extended->score, digraph.extended->cut);
    // The table's row says the same, in its columns.
    const app::TResultRow row = form->ElListBox1->Model()->Row(2);
    EXPECT_EQ(row.code, QStringLiteral("digraph"));
    EXPECT_EQ(row.set, QStringLiteral("reference"));
    EXPECT_EQ(form->ElListBox1->Model()->Row(0).offset, at);
    EXPECT_EQ(form->ElListBox1->Model()->Row(1).statusText, QStringLiteral("too-short"));
    EXPECT_TRUE(
        form->ElStatusBar1->SimpleText().contains("1 by the damage checks; 1 too short to judge"))
        << form->ElStatusBar1->SimpleText().toStdString();

    Select(2);
    EXPECT_FALSE(form->Explanation->Chart->Pairs().empty());
    EXPECT_TRUE(form->Explanation->Heading->text().contains("\"reference\""));
    Select(0);
    form->Explanation->GoToByte->click();
    EXPECT_EQ(std::get<2>(Selection()), QStringLiteral("\x01"));
}

// A named set that cannot be used is named with the file and the cause,
// and nothing runs; under the extended checks a named set alone is enough
// for the digraph check.
TEST_F(WindowExplains, NamedSetsStandInForTheKnownGoodTextsOrAreReportedWhenUnusable) {
    dir.write("data/a.txt", GoodText(20));
    const QString gone = dir.file("de/gone.txt");
    Open();
    form->ElFileNameEdit1->SetFileList({});
    form->ElCheckBoxThorough->setChecked(true);
    form->ElCheckBoxExtended->setChecked(true);
    form->ReferenceSets->SetSets({{"German", {gone}, false}});
    form->Button1->click();
    ASSERT_EQ(Shown().size(), 1);
    EXPECT_TRUE(Shown()[0].startsWith("The reference set \"German\" cannot be used: " + gone))
        << Shown()[0].toStdString();
    EXPECT_EQ(form->ElStatusBar1->SimpleText(), QString());

    dialogs.shown.clear();
    form->ReferenceSets->SetSets({{"English", {reference}, false}});
    form->Button1->click();
    EXPECT_TRUE(form->ElStatusBar1->SimpleText().startsWith("Finished: 1 file checked"))
        << form->ElStatusBar1->SimpleText().toStdString();
    EXPECT_EQ(form->Detector()->reference_sets->front().name, QStringLiteral("English"));
}

// "Built-in languages" judges against the shipped sets without any
// reference of the user's.
TEST_F(WindowExplains, BuiltInLanguagesAreTheSetsWithoutKnownGoodTexts) {
    QByteArray odd;
    for (int i = 0; i < 500; ++i)
        odd += "XQ ZV ";
    const QString oddFile = dir.write("data/odd.txt", odd + "\r\n");
    Open();
    form->ElFileNameEdit1->SetFileList({});
    form->ElCheckBoxThorough->setChecked(true);
    form->ElCheckBoxExtended->setChecked(true);
    form->ElCheckBoxLanguages->setChecked(true);
    form->Button1->click();
    ASSERT_TRUE(Shown().isEmpty()) << Shown().join("|").toStdString();
    QStringList names;
    for (const engine::TReferenceSet &set : *form->Detector()->reference_sets)
        names << set.name;
    // Every shipped language, in code order.
    EXPECT_EQ(names, (QStringList{"ca", "cs", "da", "de", "el", "en", "es", "fi", "fr",
                                  "gl", "hu", "id", "it", "nb", "nl", "pl", "pt", "ro",
                                  "ru", "sl", "sr", "sv", "tr", "uk", "vi"}));
    const TCrapFileWideStringlist &weird = form->Detector()->weird_files;
    ASSERT_EQ(weird.Count(), 1);
    EXPECT_EQ(weird.Strings(0), oddFile);
    ASSERT_TRUE(weird.Objects(0)->details.extended);
    EXPECT_TRUE(names.contains(weird.Objects(0)->details.extended->set));
}

} // namespace
