// SPDX-License-Identifier: GPL-3.0-or-later
#include "ResourceStrings.h"

namespace suite {

QString QLREferenceTextTooShortOrProblematic() {
    return QStringLiteral("No letter-pair profile can be made from the reference text. The "
                          "reference files may be missing, too short, or not text:\n\n%1");
}

QString QLFailedToFind() {
    return QStringLiteral("Could not find the file\n%1");
}

QString QLNoCorruptFilesFound() {
    return QStringLiteral("No corrupt files were found.");
}

} // namespace suite

namespace suite {

QString QLClosingATool() {
    return QStringLiteral("closing %1");
}

QString QLLoadingX() {
    return QStringLiteral("Loading %1...");
}

QString QL_TMSStyle(int n) {
    static const char *const kNames[] = {"Blue",
                                         "Silver",
                                         "Olive",
                                         "Classic",
                                         "Light blue",
                                         "Steel",
                                         "System",
                                         "Soft white",
                                         "Plain white",
                                         "Slate",
                                         "Sky",
                                         "Ice",
                                         "Windows classic",
                                         "Pale blue",
                                         "White",
                                         "Dark grey",
                                         "Flat grey 1",
                                         "Flat grey 2",
                                         "Flat grey 3",
                                         "Flat grey 4",
                                         "Flat grey 5",
                                         "Flat contrast 1",
                                         "Flat contrast 2",
                                         "Flat contrast 3"};
    return n >= 1 && n <= 24 ? QString::fromLatin1(kNames[n - 1]) : QString();
}

QString QLError() {
    return QStringLiteral("Error");
}

QString QLHalting() {
    return QStringLiteral("Halting");
}

QString QLStoppingAtEOF() {
    return QStringLiteral("stopping at end of file at ");
}

QString QLStoppingASAP() {
    return QStringLiteral("stopping as soon as possible at ");
}

QString QLPanicStopAt() {
    return QStringLiteral("panic stop at ");
}

QString QLListIsLoaded() {
    return QStringLiteral("The list is loaded.");
}

QString QLListIsntLoaded() {
    return QStringLiteral("The list could not be loaded.");
}

} // namespace suite
