#include "FileSource.h"

namespace engine {

bool TListSource::Next(QString &path) {
    if (fNext >= fFiles.size())
        return false;
    path = fFiles.at(fNext++);
    return true;
}

} // namespace engine
