// Runs the shell tests in an offscreen application whose home and XDG
// folders are a temporary folder, so no test reads or writes the user's
// real settings.

#include "My_types.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    QTemporaryDir home;
    const QByteArray h = home.path().toLocal8Bit();
    qputenv("HOME", h);
    qputenv("XDG_CONFIG_HOME", h + "/config");
    qputenv("XDG_DATA_HOME", h + "/data");
    qputenv("XDG_CACHE_HOME", h + "/cache");
    qputenv("XDG_RUNTIME_DIR", h + "/runtime");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SetCurrentTool(); // the tests run as the tool itself
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
