// SPDX-License-Identifier: GPL-3.0-or-later
#include "UrlOpener.h"

#include <QDesktopServices>

namespace {
TUrlOpener *gOpener = nullptr;
}

TUrlOpener *SetUrlOpener(TUrlOpener *opener) {
    TUrlOpener *old = gOpener;
    gOpener = opener;
    return old;
}

bool OpenUrlWithService(const QUrl &url) {
    return gOpener ? gOpener->OpenUrl(url) : QDesktopServices::openUrl(url);
}
