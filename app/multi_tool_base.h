// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps every tool of the suite shares: activation, the logging state,
// the closing line, and the controller's commands.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

class QWidget;
class TAdvMainMenu;

namespace app {

// Set when the main window is being destroyed; activations then do nothing.
extern bool tool_closing;
// Display names of the 24 visual styles, filled at start-up; log lines only.
extern QStringList StyleNames;
void FillStyleNames();

// Takes the suite's log file, and logs while the suite wants a log and the
// named file exists.
void RefreshLogging();

// Run on every activation of the program: refreshes logging, logs the
// activation, takes the suite's style and restyles every stylable window,
// then calls `onDone` with -1 and, given a menu, restyles it. Does nothing
// once the tool is closing.
void ActivateMainForm(QWidget *form, TAdvMainMenu *menu,
                      const std::function<void(int32_t)> &onDone);

// Marks the tool as closing and logs the closing line.
void LogToolClosing();

// Carries out the controller's command message (0x401). Unknown codes do
// nothing.
void HandleControllerMessage(uint32_t wParam, uint32_t lParam);

// Loads the list of `kind` (0-3) the suite chose for this tool into the
// lemmatiser, showing its progress; true when loaded.
bool LoadLemmaMatchStopList(int32_t kind);

} // namespace app
