#!/bin/sh
# Installs what is missing, builds with warnings as errors, runs every test,
# then checks that the sources are formatted.
set -eu
cd "$(dirname "$0")/.."
./scripts/setup-debian.sh
BRINDLE_WERROR=ON ./scripts/build.sh
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
./scripts/check-format.sh
