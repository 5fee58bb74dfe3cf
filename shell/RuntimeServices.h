// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The suite runtime's routines and shared variables that the shell calls.
//
// They belong with the suite's runtime services; they live here until those
// exist, and callers use only these names so that moving them changes no
// caller.

#include <QString>
#include <bitset>

class QWidget;

// Function numbers whose menu items carry a check mark. Numbers outside
// 0-199 are never members.
class TMenuTagSet {
public:
    TMenuTagSet(std::initializer_list<int> tags) {
        for (int t : tags)
            fBits.set(size_t(t));
    }
    bool Contains(int tag) const { return tag >= 0 && tag < 200 && fBits.test(size_t(tag)); }

private:
    std::bitset<200> fBits;
};

extern const TMenuTagSet CheckableMenuItems;

// Set just before the program ends from its menu: false for Exit, true for
// Fast Exit (which skips the checks a normal exit makes).
extern bool no_check_exit;

// The base address of the online help, ending in "/": the environment
// variable QUILLON_HELP_URL when set, else the relative "help/", which
// resolves to the pages shipped next to the program.
QString QuillonHelpURL();

// Reports a failed start of `what` to the user; nothing when `started`.
void CheckExec(bool started, const QString &what);

// True for an optionally signed decimal number, digits with at most one
// decimal point (either "." or the user's separator), surrounding blanks
// allowed.
bool IsANumber(const QString &text);

// The warning that `shortcutText` already belongs to `otherCaption`.
void MenuShortcutAlreadyInUse(QWidget *owner, const QString &shortcutText, const QString &caption,
                              const QString &otherCaption);
