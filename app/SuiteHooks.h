// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The steps of the window's life that belong to the suite: the controller,
// its notices, the tool set-up, activation, help, visual styles and the
// controller's commands.
//
// Each is called at its fixed place in TForm1's handlers. The order of calls
// in TForm1 is the contract:
//
//   FormCreate:  StoreOwnHandleStep, StartToolStep, NotifyShellStep(kNoteWindowCreated),
//                AssignButtonImagesStep, SetUpToolWindowStep, (memo cleared,
//                settings loaded, bar at 0, detector made), HookActivationStep
//   FormActivate:       ActivateMainFormStep
//   ButtonHelpClick:    HandleAHelpFileChoiceStep(5140)
//   message 0x401:      ControllerMessageStep
//   FormDestroy: (detector freed), LogToolClosingStep, NotifyShellStep(kNoteWindowGoing),
//                (settings saved)

#include <QString>
#include <cstdint>

class TForm1;

namespace app {

// Keeps the window's handle where the suite's runtime reads it.
void StoreOwnHandleStep(TForm1 *form);
// The window has no mailbox, so the controller cannot reach it: says why on
// standard error at once, and in the log once logging is set up.
void ReportNoMailbox(const QString &cause);
// Makes sure the suite's controller (tool 4) runs, starting it if need be.
void StartToolStep();
// Tells the controller about the main window (suite::kNoteWindowCreated,
// suite::kNoteWindowGoing).
void NotifyShellStep(int code);
// Gives the buttons their images from the suite's image lists.
void AssignButtonImagesStep(TForm1 *form);
// Colours, typeface, help file, logging, registration, menu shortcuts.
void SetUpToolWindowStep(TForm1 *form);
// Hooks FormActivate to the application's activation notice.
void HookActivationStep(TForm1 *form);
// The activation step, with the typeface of all forms as completion.
void ActivateMainFormStep(TForm1 *form);
// Asks the tool data module to show a help topic.
void HandleAHelpFileChoiceStep(int topic);
// Serves a command message (0x401) of the controller.
void ControllerMessageStep(TForm1 *form, uint32_t wParam, uint32_t lParam);
// Marks the tool as closing and writes the closing log line.
void LogToolClosingStep();

} // namespace app
