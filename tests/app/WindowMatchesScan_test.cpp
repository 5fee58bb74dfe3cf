// SPDX-License-Identifier: GPL-3.0-or-later
// The window and brindle-scan check through the same engine: on a mixed
// corpus the window lists exactly the scanner's lines, path and reason, in
// the same order, with the digraph check off and on, and under the extended
// checks.

#include "AppTestSupport.h"
#include "MainWindow.h"
#include "ResultTable.h"
#include "SuspectLine.h"
#include "file_crap_detector.h"

#include <QFile>
#include <QProcess>
#include <memory>

namespace {

class WindowMatchesScan : public IsolatedUser {};

QByteArray ScanOutput(const QStringList &args) {
    QProcess p;
    p.start(QStringLiteral(BRINDLE_SCAN), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << "brindle-scan did not finish";
    EXPECT_LE(p.exitCode(), 1) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput();
}

QStringList ScanLines(const QStringList &args) {
    QStringList lines = QString::fromUtf8(ScanOutput(args)).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

TEST_F(WindowMatchesScan, EntryForEntryWithTheDigraphCheckOffAndOn) {
    const QString ref = dir.write("ref/good.txt", GoodText(60));
    for (int i = 0; i < 18; ++i) {
        QByteArray b = GoodText(2 + i);
        if (i % 5 == 1)
            b[30 + i] = 0; // cut short: size test
        if (i % 5 == 2)
            b += OddDigraphText(); // strays: digraph check
        if (i % 5 == 3)
            b.replace("\r\n", "\n"); // LF only: longer text than bytes
        const QString name =
            QStringLiteral("data/%1/f%2.txt").arg(i % 3).arg(i, 2, 10, QLatin1Char('0'));
        dir.write(name, i % 7 == 4 ? Utf16LeWithMark(QString::fromLatin1(b)) : b);
    }
    dir.write("data/odd.txt", OddDigraphText());
    dir.write("data/cut.txt", CutText());
    dir.write("data/empty.txt", QByteArray());
    dir.write("data/1/utf8.txt", QByteArray("\xEF\xBB\xBF") +
                                     QStringLiteral("Grüße aus Köln, über Straßen\r\n").toUtf8());

    // A reference that is not ASCII, in UTF-8 without a mark: both read it
    // the same way, beside the built-in languages.
    const QString accented = dir.write(
        "ref/de.txt",
        QStringLiteral("Grüße aus Köln: Der Hund schläft unter dem großen Baum, während die "
                       "Katze im Gras spielt und über die Straße läuft.\n")
            .repeated(80)
            .toUtf8());
    dir.write("data/2/de.txt", QStringLiteral("Über die Brücke gehen wir täglich zur Arbeit, "
                                              "während die Vögel singen.\n")
                                   .repeated(40)
                                   .toUtf8());

    // Under the extended checks too, with the scanner's columns beyond path
    // and reason left aside.
    const struct {
        bool digraph, extended, languages;
    } runs[] = {
        {false, false, false}, {true, false, false}, {true, true, false}, {true, true, true}};
    for (const auto &[digraph, extended, languages] : runs) {
        const QString reference = languages ? accented : ref;
        TForm1 form;
        form.show();
        form.ElFileNameEdit1->SetFileList({reference});
        form.ElCheckBoxLanguages->setChecked(languages);
        form.ElFolderNameEdit1->SetText(dir.file("data"));
        form.ElCheckBox1->setChecked(true);
        form.ElCheckBoxThorough->setChecked(digraph);
        form.ElCheckBoxExtended->setChecked(extended);
        form.Button1->click();
        QStringList listed;
        for (int i = 0; i < form.ElListBox1->count(); ++i)
            listed << QString::fromUtf8(
                engine::SuspectLine(form.ElListBox1->Path(i),
                                    form.Detector()->weird_files.Objects(i)->details)
                    .chopped(1));

        QStringList args{QStringLiteral("-s"), QStringLiteral("-r"), reference};
        if (digraph)
            args << QStringLiteral("-d");
        if (extended)
            args << QStringLiteral("--extended");
        if (languages)
            args << QStringLiteral("--language") << QStringLiteral("auto");
        QStringList scanned = ScanLines(args << dir.file("data"));
        for (QString &line : scanned)
            line = line.section(QLatin1Char('\t'), 0, 1);
        EXPECT_EQ(listed, scanned)
            << "digraph " << digraph << " extended " << extended << " languages " << languages;
        // Save list as writes byte for byte what the scanner writes, as TSV
        // and as JSON lines.
        for (const char *format : {"tsv", "jsonl"}) {
            const QString saved = dir.file(QStringLiteral("saved.") + QLatin1String(format));
            ASSERT_TRUE(form.SaveListAs(saved));
            QFile f(saved);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            QStringList scanArgs = args.mid(0, args.size() - 1);
            scanArgs << QStringLiteral("--format") << QLatin1String(format) << dir.file("data");
            EXPECT_EQ(f.readAll(), ScanOutput(scanArgs))
                << format << " digraph " << digraph << " extended " << extended;
        }
        // The corpus has suspects of each kind the run can find; the
        // extended checks name a NUL as damage before the size test.
        if (!extended) {
            EXPECT_FALSE(listed.filter(QStringLiteral("\tFile-size ")).isEmpty());
            EXPECT_EQ(listed.filter(QStringLiteral("\tToo ")).isEmpty(), !digraph);
        } else {
            EXPECT_FALSE(listed.filter(QStringLiteral("\tToo short to judge")).isEmpty());
            // The size test keeps its verdict under the extended checks.
            EXPECT_FALSE(listed.filter(QStringLiteral("\tFile-size ")).isEmpty());
        }
    }
}

} // namespace
