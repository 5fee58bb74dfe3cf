// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolPagesU.h"

#include "My_types.h"
#include "Mykpsmall.h"
#include "ResourceStrings.h"
#include "SharedVariables.h"
#include "TMSComponentStyles.h"
#include "lemmatiser.h"
#include "quillon_minimal_progress.h"

#include <algorithm>

namespace app {

TToolWindowList *GlobalToolWindowList = nullptr;

void TToolWindowList::SetNLines(int32_t n, const hundredwidechar &mess) {
    DLLN_Lines = std::max<int32_t>(n, 1);
    if (GlobalProgress) {
        GlobalProgress->ClearBarsOnly();
        GlobalProgress->ProgressLongMessage(suite::QLLoadingX().arg(FromHundredWideChar(mess)));
    }
    MyYieldProcess();
}

void TToolWindowList::ShowDLLProgress(int32_t n) {
    MyYieldProcess();
    if (panic_mode != 0) {
        CancelOne(current_tool_var, LemmaMatchStopOptions);
        return;
    }
    // Widened: lines times 100 overflows 32 bits from about 21 million lines.
    if (GlobalProgress)
        GlobalProgress->ThisPercent(int32_t(int64_t(n) * 100 / DLLN_Lines));
}

void TToolWindowList::SetAllGridsToStyle(TTMSStyle AStyle) {
    for (TToolWindowHolder *holder : Items)
        if (holder)
            for (QObject *grid : holder->grids)
                TMSSetComponentStyle(grid, AStyle);
}

void CreateGlobalToolWindowList() {
    if (!GlobalToolWindowList)
        GlobalToolWindowList = new TToolWindowList;
}

void FreeGlobalToolWindowList() {
    delete GlobalToolWindowList;
    GlobalToolWindowList = nullptr;
}

} // namespace app
