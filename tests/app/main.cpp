// Runs the window tests in an offscreen QApplication: no test may open a
// window on a real display.

#include "My_types.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetCurrentTool(); // the tests run as the tool itself
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
