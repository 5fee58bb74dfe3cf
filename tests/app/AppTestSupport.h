// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared by the window tests: an isolated user folder per test.

#include "Dialogs.h"
#include "Fixtures.h"
#include "IsolatedEnv.h"
#include "TempDir.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class TForm1;

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

// A window over dir/data (or another folder of dir) with one good reference.
class WindowFixture : public IsolatedUser {
protected:
    void SetUp() override;
    void TearDown() override;
    // A fresh window with the reference and dir/`folder` filled in.
    void Open(const QString &folder = QStringLiteral("data"));
    // Runs `action` once, at the first entry the run lists.
    void AtFirstEntry(std::function<void()> action);

    QString reference;
    std::unique_ptr<TForm1> form;
};
