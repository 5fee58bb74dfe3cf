// SPDX-License-Identifier: GPL-3.0-or-later
// What the text pane is given of a file: all of a small text, the start of a
// large one, with the cut told, in every encoding.

#include "RunError.h"
#include "TempDir.h"
#include "TextFile.h"
#include "TextPaneLoader.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

TEST(TextPaneLoader, GivesAllOfASmallTextAndTheStartOfALargeOne) {
    TempDir dir;
    const QByteArray text = "one\ntwo\r\nthree\n";
    const struct {
        const char *name;
        QByteArray bytes;
        qsizetype limit;
        bool cut;
        QString shown;
    } cases[] = {
        {"whole.txt", text, 100, false, "one\r\ntwo\r\nthree\r\n"},
        {"exact.txt", text, text.size(), false, "one\r\ntwo\r\nthree\r\n"},
        {"cut.txt", text, 6, true, "one\r\ntw\r\n"},
        {"nul.txt", QByteArray("abc\0defghijk", 12), 3, false, "abc\r\n"},
        {"utf16.txt",
         QByteArray("\xFF\xFE"
                    "a\0b\0c\0d\0",
                    10),
         2, true, "ab\r\n"},
        {"utf8.txt", "\xEF\xBB\xBF\xC3\xA9\xC3\xA9\xC3\xA9", 2, true, "\u00E9\u00E9\r\n"},
        {"empty.txt", QByteArray(), 0, false, ""},
    };
    for (const auto &c : cases) {
        const QString path = dir.write(c.name, c.bytes);
        const app::TPaneText pane = app::LoadPaneText(path, c.limit);
        EXPECT_EQ(pane.cut, c.cut) << c.name;
        EXPECT_EQ(pane.text.toStdString(), c.shown.toStdString()) << c.name;
    }
}

// Past the reading block's size the start is still exactly the text's start.
TEST(TextPaneLoader, TheStartOfATextLongerThanABlockIsItsExactPrefix) {
    TempDir dir;
    QByteArray bytes;
    for (int i = 0; bytes.size() < qsizetype(3 * engine::TTextFile::kBlock); ++i)
        bytes += "line " + QByteArray::number(i) + "\r\n";
    const QString path = dir.write("long.txt", bytes);
    const qsizetype limit = qsizetype(engine::TTextFile::kBlock) + 7;
    const app::TPaneText pane = app::LoadPaneText(path, limit);
    EXPECT_TRUE(pane.cut);
    const QString whole = engine::LoadText(path);
    EXPECT_TRUE(whole.startsWith(pane.text.chopped(2))) << "the start, then a line end";
    EXPECT_EQ(pane.text.size(), limit + 2);
}

// Where a byte falls in the pane: the line and column the pane counts, in
// every encoding, and the text around it once it lies past a short prefix.
TEST(TextPaneLoader, PlaceOfAByteInEveryEncodingAndAroundItPastTheStart) {
    TempDir dir;
    using engine::TDefaultEncoding;
    const struct {
        const char *name;
        QByteArray bytes;
        TDefaultEncoding encoding;
        int64_t offset;
        qsizetype maxUnits;
        bool around;
        qsizetype line, column;
        QString at; // the text from the place on, its first units
    } cases[] = {
        // Line breaks of every kind count once.
        {"lf.txt", "ab\ncd\r\nef\rg\x01h", TDefaultEncoding::Windows1252, 11, 100, false, 3, 1,
         "\x01h"},
        // Two bytes of UTF-8 are one unit; as Windows-1252 they are two.
        {"utf8.txt", "\xC3\xA9\xC3\xA9X", TDefaultEncoding::Utf8, 4, 100, false, 0, 2, "X"},
        {"cp.txt", "\xC3\xA9\xC3\xA9X", TDefaultEncoding::Windows1252, 4, 100, false, 0, 4, "X"},
        // Automatic: UTF-8 when all of it is, else one unit a byte.
        {"auto8.txt", "\xC3\xA9\xC3\xA9X", TDefaultEncoding::Automatic, 4, 100, false, 0, 2, "X"},
        {"autocp.txt", "\xC3\xA9\xE9X", TDefaultEncoding::Automatic, 3, 100, false, 0, 3, "X"},
        {"bom8.txt", "\xEF\xBB\xBFq\nrs", TDefaultEncoding::Windows1252, 6, 100, false, 1, 1, "s"},
        {"u16.txt", QByteArray("\xFF\xFEq\0\n\0r\0s\0", 10), TDefaultEncoding::Windows1252, 8, 100,
         false, 1, 1, "s"},
        {"u16be.txt", QByteArray("\xFE\xFF\0q\0\n\0r\0s", 10), TDefaultEncoding::Windows1252, 8,
         100, false, 1, 1, "s"},
        // The pane's text ends at a NUL: a byte after it is shown around.
        {"nul.txt", QByteArray("ab\0cd\nef", 8), TDefaultEncoding::Windows1252, 7, 100, true, 1, 1,
         "f"},
        {"nulitself.txt", QByteArray("ab\ncd\0\0", 7), TDefaultEncoding::Windows1252, 5, 100, false,
         1, 2, ""},
        // Past the prefix the pane holds: from the start of a line before it.
        {"far.txt", "0123456789\nabcdefghij\nklmnopqrst\n", TDefaultEncoding::Windows1252, 25, 8,
         true, 0, 3, "nopq"},
        // Beyond the end: the end.
        {"end.txt", "xy", TDefaultEncoding::Windows1252, 99, 100, false, 0, 2, ""},
    };
    for (const auto &c : cases) {
        const QString path = dir.write(c.name, c.bytes);
        const app::TPaneTextAt at = app::LoadPaneTextAt(path, c.offset, c.encoding, c.maxUnits, 12);
        EXPECT_EQ(at.around, c.around) << c.name;
        EXPECT_EQ(at.place.line, c.line) << c.name;
        EXPECT_EQ(at.place.column, c.column) << c.name;
        // The pane's lines, as it splits them.
        const QStringList lines = at.pane.text.split(QRegularExpression("\\r\\n|\\r|\\n"));
        const QString rest = lines.value(at.place.line).mid(at.place.column);
        EXPECT_TRUE(rest.startsWith(c.at)) << c.name << ": " << rest.toStdString();
        if (!at.around) {
            EXPECT_EQ(at.pane.text, app::LoadPaneText(path, c.maxUnits, c.encoding).text) << c.name;
        }
    }
    EXPECT_THROW(app::LoadPaneTextAt(dir.file("gone.txt"), 0, TDefaultEncoding::Utf8),
                 suite::TRunError);
}

} // namespace
