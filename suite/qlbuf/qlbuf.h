// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's shared settings library: what every program of the suite
// shares with the others for the same user.
//
// Lasting choices (logging, help, style, list files, menu marks and
// shortcuts, the two records) live in an ini file in the user's config
// folder; QSettings locks it and merges changes between processes. Session
// state (the controller's window and its initialised flag, registered tool
// windows, progress records) lives in the user's private
// runtime folder and ends with the session.
//
// Texts come back as QString copies, so no caller ever holds memory of the
// library. Every routine works, with default answers, when nothing has been
// stored yet; none reports an error.

#include "QlbufRecords.h"

#include <QString>
#include <cstdint>

using TQlbufWnd = uint32_t;
using TQlbufTool = uint8_t;

constexpr int kMenuTags = 200;
constexpr int kProgressParamsSize = 832;

// Attaches to the shared settings (makes the session folder).
void SetupQlbufSharing();
// Resets every lasting choice to its default;
// the controller's and the tools' window registrations are kept.
void SetAllDefaults();

// --- The controller ---
// 0 when no controller window is registered or its process has ended.
TQlbufWnd GetShellWnd();
// Registers (or with 0 withdraws) the calling process's window as the
// controller's. Withdrawing also clears the initialised flag.
void SetShellWnd(TQlbufWnd wnd);
// True once the registered controller has reported itself ready.
bool GetQShellInitialised();
void SetQShellInitialised(bool initialised);

// --- Tool windows ---
void SetNewWnd(TQlbufTool tool, TQlbufWnd wnd);
void SetActiveMainToolWindow(TQlbufTool tool, TQlbufWnd wnd);
void UnSetWnd(TQlbufTool tool, TQlbufWnd wnd);
// The tool's active main window, 0 when none is alive.
TQlbufWnd GetActiveMainToolWindow(TQlbufTool tool);

// --- Progress ---
// Stores the calling process's 832-byte progress record for the controller.
void SetProgressParams(const void *params);
// Reads the record that process `pid` stored last; false when there is none.
bool GetProgressParams(int64_t pid, void *space);

// --- Folders, help and logging ---
// The suite's read-write folder, as suite::GetUserReadWriteFolder gives it.
QString GetUserReadWriteFolder();
QString GetHelpfilename();
void SetHelpfilename(const QString &name);
// 0 help file, 1 web pages, anything else no help.
uint8_t GetQLHelpAccessMode();
void SetQLHelpAccessMode(uint8_t mode);
bool GetLogging();
void SetLogging(bool wanted);
QString GetLogFilename();
// Named apart from the runtime's SetLogFilename, which picks the file a
// process writes to; this one stores the suite-wide choice.
void SetLogFilenameSetting(const QString &name);

// --- Records and style ---
TColoursAndTypefaces GetDefaultColoursAndTypefaces();
void SetDefaultColoursAndTypefaces(const TColoursAndTypefaces &record);
void GetTextSettings(TTextSettings &space);
void SetTextSettings(const TTextSettings &record);
// Counted from 1.
int32_t GetTMSOfficeStyleNum();
void SetTMSOfficeStyleNum(int32_t style);

// --- Lists (kinds 0-3); empty when none is chosen ---
QString GetLemmaMatchStopFilename(TQlbufTool tool, int32_t kind);
void SetLemmaMatchStopFilename(TQlbufTool tool, int32_t kind, const QString &name);

// --- Menus: tags 0-199; other tags read as unset and are not stored ---
bool GetMenuItemChecked(int32_t tag);
void SetMenuItemChecked(int32_t tag, bool checked);
// `set` 0 is the suite's shortcut set; other values keep sets of their own.
// A shortcut never stored in set 0 reads as the suite's default
// (DefaultMenuShortcuts.h), so a fresh user keeps the familiar keys; a
// stored 0 means none.
uint16_t GetMenuShortcut(int32_t tag, int32_t set);
void SetMenuShortcut(int32_t tag, int32_t set, uint16_t shortcut);
// Fills `space` with the 200 shortcuts of set 0.
void GetMenuCurrentShortcuts(uint16_t *space);
bool GetPopupMenuTagInUse(int32_t tag);
void SetPopupMenuTagInUse(int32_t tag, bool inUse);
void ClearPopupMenuTagsInUse();
