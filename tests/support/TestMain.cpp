// SPDX-License-Identifier: GPL-3.0-or-later
// The main of every test program that needs a Qt application: offscreen, so
// no test opens a window on a real display, with HOME and the XDG folders in
// a temporary folder for the whole run, so no test reads or writes the user's
// real settings. Built twice: with BRINDLE_TEST_GUI for a QApplication that
// runs as the tool itself, else with a QCoreApplication.

#include "IsolatedEnv.h"

#include <gtest/gtest.h>

#ifdef BRINDLE_TEST_GUI
#include "My_types.h"
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    IsolatedEnv env;
    TestApplication app(argc, argv);
#ifdef BRINDLE_TEST_GUI
    SetCurrentTool(); // the tests run as the tool itself
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
