// SPDX-License-Identifier: GPL-3.0-or-later
// What the text pane is given of a file: all of a small text, the start of a
// large one, with the cut told, in every encoding.

#include "TempDir.h"
#include "TextFile.h"
#include "TextPaneLoader.h"

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

} // namespace
