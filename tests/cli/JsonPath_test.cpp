// SPDX-License-Identifier: GPL-3.0-or-later
#include "Printers.h"

#include "FileNames.h"

#include <gtest/gtest.h>

TEST(PathEscape, JsonCarriesTheBytesOfANameThatIsNotUtf8) {
    EXPECT_EQ(cli::JsonPathFields(suite::DecodeFileName("/d/a\tb.txt")),
              QByteArray("\"path\":\"/d/a\\tb.txt\""));
    const QByteArray latin1 = "/d/caf\xE9.txt";
    EXPECT_EQ(cli::JsonPathFields(suite::DecodeFileName(latin1)),
              "\"path\":\"/d/caf\xEF\xBF\xBD.txt\",\"path_bytes\":\"" + latin1.toBase64() + "\"");
}
