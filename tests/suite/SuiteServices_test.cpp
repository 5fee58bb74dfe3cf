// SPDX-License-Identifier: GPL-3.0-or-later
// The suite routines the window and its settings call.

#include "IsolatedEnv.h"
#include "My_string_functions.h"
#include "TPCProgressBar.h"
#include "UserFolders.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

TEST(PwdToNumStr, RoundTripsAnyTextAndRejectsWhatItCannotHaveMade) {
    for (const QString &s : {QString(), QStringLiteral("pa55 wörd"), QStringLiteral("\U0001F600")})
        EXPECT_EQ(suite::FromNumStr(suite::PwdToNumStr(s)), s);
    EXPECT_NE(suite::PwdToNumStr("secret"), "secret");
    for (const char *bad : {"1234", "0006a", "99999"})
        EXPECT_EQ(suite::FromNumStr(bad), "") << bad;
}

struct UserFolder : testing::Test {
    IsolatedEnv env;
};

TEST_F(UserFolder, FollowsXdgDataHomeElseHomeAndIsCreated) {
    const QString data = env.dir().file("xdg");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    EXPECT_EQ(suite::GetUserReadWriteFolder(), data + "/Quillon/");
    EXPECT_TRUE(QDir(data + "/Quillon").exists());

    for (const char *value : {"", "relative/path"}) {
        qputenv("XDG_DATA_HOME", value);
        EXPECT_EQ(suite::GetUserReadWriteFolder(), QDir::homePath() + "/.local/share/Quillon/")
            << value;
    }
    EXPECT_TRUE(QDir(QDir::homePath() + "/.local/share/Quillon").exists());
}

TEST(TPCProgressBar, KeepsAClampedPercentage) {
    TPCProgressBar bar;
    for (auto [in, out] : {std::pair{40, 40}, {-5, 0}, {100, 100}, {250, 100}}) {
        bar.SetRangePos(2, in);
        EXPECT_EQ(bar.Position(), out) << in;
    }
}

} // namespace
