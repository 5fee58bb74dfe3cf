// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite's log: one text file that every program of the suite may add to.

#include <QString>

// Whether the program writes log lines; every call site tests it.
extern bool keeping_log;

// The file that later AddToLogFile calls write to; empty writes nothing.
void SetLogFilename(const QString &fileName);
QString LogFilename();

// Adds `text` to the log file, then a line end when `endLine` is true; with
// false the next text continues the same line. The text is appended in one
// write under a lock that every program of the suite honours, so lines of
// two writers never mix and the lines already there are never rewritten.
// Failure is silent.
void AddToLogFile(const QString &text, bool endLine);
