#pragma once
// Shared by the window tests: an isolated user folder per test.

#include "Dialogs.h"
#include "Fixtures.h"
#include "IsolatedEnv.h"
#include "TempDir.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <optional>

// Points HOME and the XDG folders at a fresh temporary folder (restored
// afterwards) and records every dialog instead of showing it.
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
    std::optional<IsolatedEnv> fEnv;
    suite::TDialogService *fPrevious = nullptr;
};
