// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's tool numbers and the running program's identity.

#include <QString>
#include <cstdint>

// One byte naming a program of the suite.
using tool_type = uint8_t;

constexpr tool_type kControllerTool = 4;
constexpr tool_type kBrindleTool = 18;

// The running program's number; set by SetCurrentTool.
extern tool_type current_tool_var;

// Identifies the running program by its executable's name: the controller
// stand-in is 4, every other program of this build is Brindle (18).
void SetCurrentTool();
// The tool number an executable of this name belongs to.
tool_type ToolForExecutable(const QString &fileName);

// Display name, for titles and log lines.
QString Tool_Name(tool_type tool);
// The tool's executable name without folder ("brindle").
QString GetShortToolFilename(tool_type tool);
// The tool's executable in the running program's own folder.
QString GetFullToolFilename(tool_type tool);
