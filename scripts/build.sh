#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds everything into build/ (Release with debug info).
# Warnings are errors, for scripts/run.sh as for scripts/test.sh: the two
# share build/, and a setting that differed between them would rebuild every
# target. BRINDLE_WERROR=OFF turns that off; extra arguments go to cmake's
# configure step.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINDLE_WERROR="${BRINDLE_WERROR:-ON}" "$@" >/dev/null
cmake --build build -j "$(nproc)"
