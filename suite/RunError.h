// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error that ends a run: which file, and why.

#include "FileError.h"

namespace suite {

// Raised when a file of a run (or a reference file) cannot be read, or when
// its profile cannot be made.
class TRunError : public platform::TFileError {
public:
    using TFileError::TFileError;
};

} // namespace suite
