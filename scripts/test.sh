#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks that the sources are formatted (first, so
# that a formatting slip costs seconds, not a whole run), builds with warnings
# as errors and runs every test.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
./scripts/check-format.sh
./scripts/build.sh
# Tests never touch the user's real settings or display.
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j "$(nproc)")
# Regression runs of the fuzz targets over their seed corpora, then the whole
# suite under AddressSanitizer + UBSan, the engine tests without SSE2 and the
# threaded scan under ThreadSanitizer, each in a build folder of its own.
./scripts/fuzz.sh
./scripts/sanitize.sh asan
./scripts/sanitize.sh nosimd
./scripts/sanitize.sh tsan
