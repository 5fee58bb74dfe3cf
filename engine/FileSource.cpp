#include "FileSource.h"

namespace engine {

bool TListSource::Next(TSourceFile &file) {
    if (fNext >= fFiles.size())
        return false;
    file.path = fFiles.at(fNext++);
    file.seenRegular = false;
    file.named = fNamed;
    return true;
}

} // namespace engine
