// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared set-up of the shell tests: fresh suite settings, recording dialog
// and URL services.

#include "Dialogs.h"
#include "UrlOpener.h"
#include "qlbuf.h"

#include <gtest/gtest.h>

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetAllDefaults();
        fOldDialogs = suite::SetDialogService(&dialogs);
        fOldOpener = SetUrlOpener(&opener);
    }
    void TearDown() override {
        suite::SetDialogService(fOldDialogs);
        SetUrlOpener(fOldOpener);
        SetAllDefaults();
    }
    suite::TRecordingDialogService dialogs;
    TRecordingUrlOpener opener;

private:
    suite::TDialogService *fOldDialogs = nullptr;
    TUrlOpener *fOldOpener = nullptr;
};
