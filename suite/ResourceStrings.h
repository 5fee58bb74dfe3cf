#pragma once
// The suite's resource strings. Placeholders are QString::arg markers.

#include <QString>

namespace suite {

// One placeholder: the reference file list as given.
QString QLREferenceTextTooShortOrProblematic();
// One placeholder: the file name.
QString QLFailedToFind();
QString QLNoCorruptFilesFound();

} // namespace suite
