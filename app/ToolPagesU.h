// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tool's list of its windows. This program adds no windows to it; it
// serves as the owner of the list loader's two progress callbacks, which
// show a list load through the progress reporter.

#include "Basic_types.h"
#include "TMSStyles.h"

#include <QList>
#include <cstdint>
#include <memory>

class QObject;

namespace app {

// One of the tool's windows with its grids.
struct TToolWindowHolder {
    QList<QObject *> grids; // not owned
};

// The suite's actions; only idle happens in this program.
enum class TLastAction : uint8_t { Idle = 0 };

class TToolWindowList {
public:
    TToolWindowList() = default;

    TToolWindowHolder *CurrentToolWindowHolder = nullptr;
    // Lines the loader announced for the list being loaded; never below 1,
    // so a loader that announces none makes every report divide by 1.
    int32_t DLLN_Lines = 1;
    TLastAction last_action = TLastAction::Idle;
    // Passed to the lemmatiser when a load is cancelled.
    uint8_t LemmaMatchStopOptions = 0;
    // The windows' holders; the list does not own them.
    QList<TToolWindowHolder *> Items;
    // Owned.
    std::unique_ptr<QList<void *>> SubPageLists = std::make_unique<QList<void *>>();

    bool HasData() const { return fHasData; }

    // The loader's line-count callback: remembers `n`, clears the bars and
    // shows that the list named in `mess` is loading.
    void SetNLines(int32_t n, const hundredwidechar &mess);
    // The loader's progress callback: lets events run, then cancels the load
    // when a stop was asked for, else reports the share of lines done.
    void ShowDLLProgress(int32_t n);
    // Gives every grid among the entries the style; none here.
    void SetAllGridsToStyle(TTMSStyle AStyle);

private:
    bool fHasData = false;
};

// Lives from unit start-up to unit shut-down.
extern TToolWindowList *GlobalToolWindowList;
void CreateGlobalToolWindowList();
void FreeGlobalToolWindowList();

} // namespace app
