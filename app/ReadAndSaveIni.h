// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeping a window's input controls in its settings file.
//
// A walk over the components a window owns stores or restores each control
// of a known class under a section named after the control; controls of
// other classes are looked through for controls of their own. Settings that
// cannot be read leave the design values; settings that cannot be written
// are lost for this session. Either way the user gets one warning naming
// the file, and the window goes on.

#include "AppDrive.h"
#include "TMyIniFile.h"

#include <QString>

class QObject;
class QWidget;

namespace app {

// While false, memos are neither stored nor restored. True at start.
extern bool save_memos;

// The user's read-write folder, then the executable's name with ".ini".
QString SettingsFileName();

// Restores the form's controls from the file when it exists. False (after
// one warning) when it exists but cannot be read; it is then renamed to
// "NAME.unreadable-TIME" when it can be.
bool LoadFormSettings(QWidget *form, const QString &fileName);
// Writes the form's controls to the file, keeping the sections of other
// controls. False (after one warning) when it cannot be written.
bool SaveFormSettings(QWidget *form, const QString &fileName);

// The walk over `owner`'s components: restore true reads, false stores.
void ReadOrWriteComponents(QObject *owner, TMyIniFile &ini, bool restore);

} // namespace app
