#pragma once
// Shared by the window tests: an isolated user folder per test and fixture
// files for runs.

#include "Dialogs.h"
#include "TempDir.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

// Points HOME and the XDG folders at a fresh temporary folder and records
// every dialog instead of showing it.
class IsolatedUser : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The settings file the window reads and writes in this test.
    QString SettingsFile() const;
    // The texts of the dialogs shown so far.
    QStringList Shown() const;

    TempDir dir;
    suite::TRecordingDialogService dialogs;

private:
    suite::TDialogService *fPrevious = nullptr;
};

// Plenty of common digraphs; passes the size test.
QByteArray GoodText(int repeats);
// An 8-bit file cut short by a NUL: suspect by size.
QByteArray CutText();
// Fails the digraph check against GoodText but passes the size test.
QByteArray OddDigraphText();
// UTF-16 text with 2048 distinct digraphs in falling order: its profile
// cannot be made (the tree's depth error).
QByteArray LopsidedText();
