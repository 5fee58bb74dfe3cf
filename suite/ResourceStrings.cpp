#include "ResourceStrings.h"

namespace suite {

QString QLREferenceTextTooShortOrProblematic() {
    return QStringLiteral("No letter-pair profile can be made from the reference text. The "
                          "reference files may be missing, too short, or not text:\n\n%1");
}

QString QLFailedToFind() { return QStringLiteral("Could not find the file\n%1"); }

QString QLNoCorruptFilesFound() { return QStringLiteral("No corrupt files were found."); }

} // namespace suite
