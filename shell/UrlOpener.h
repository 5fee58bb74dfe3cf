// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a web address or a help page, behind one replaceable service.
//
// The program installs nothing and gets the desktop's handler
// (QDesktopServices); tests install TRecordingUrlOpener so that no browser
// is ever started.

#include <QUrl>
#include <vector>

class TUrlOpener {
public:
    virtual ~TUrlOpener() = default;
    // True when the handler was started.
    virtual bool OpenUrl(const QUrl &url) = 0;
};

class TRecordingUrlOpener : public TUrlOpener {
public:
    std::vector<QUrl> opened;
    bool succeed = true;
    bool OpenUrl(const QUrl &url) override {
        opened.push_back(url);
        return succeed;
    }
};

// Installs `opener` (not owned; nullptr restores the desktop's). Returns the
// previous one.
TUrlOpener *SetUrlOpener(TUrlOpener *opener);
bool OpenUrlWithService(const QUrl &url);
