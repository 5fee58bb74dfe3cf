// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the suite's lasting choices are stored.

#include <QSettings>
#include <memory>

namespace qlbuf {

// A fresh view of the ini file: built per call so that every read sees what
// other processes have written since.
std::unique_ptr<QSettings> LastingSettings();

} // namespace qlbuf
