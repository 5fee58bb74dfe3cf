// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Help topics by context number, and opening a page in the browser.

#include <QString>

// The topic page name of a help context number; numbers the suite does not
// use give "getting_started".
QString HelpTopicName(int helpContext);
// The online help address, the topic name and ".htm", nothing in between.
QString HelpTopicURL(int helpContext);
// Opens `url` in the user's browser; a failure is reported to the user. A
// relative address is taken from the folder that holds the shipped help.
void OpenInBrowser(const QString &url);
