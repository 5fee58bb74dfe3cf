// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressBar.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

std::string Contents(std::FILE *f) {
    std::fflush(f);
    std::string s;
    std::rewind(f);
    for (int c; (c = std::fgetc(f)) != EOF;)
        s += char(c);
    std::fseek(f, 0, SEEK_END);
    return s;
}

} // namespace

TEST(ProgressBar, ALineWrittenThroughItIsNeverBehindTheBar) {
    std::FILE *f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::atomic<qsizetype> done{3};
    {
        cli::TProgressBar bar(10, done, f, std::chrono::hours(1));
        bar.Interrupt([&] { std::fputs("a.txt\tFile-size 10 but text-length 1\n", f); });
    }
    const std::string out = Contents(f);
    std::fclose(f);
    // Drawn at the start, wiped before the line, drawn again after it, and
    // wiped at the end.
    EXPECT_EQ(out, "\r[#########.....................] 3/10 files\r\033[K"
                   "a.txt\tFile-size 10 but text-length 1\n"
                   "\r[#########.....................] 3/10 files\r\033[K");
}
