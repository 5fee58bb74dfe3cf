#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds everything into build/ (Release with debug info).
# BRINDLE_WERROR=ON turns warnings into errors (scripts/test.sh sets it);
# extra arguments go to cmake's configure step.
set -eu
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBRINDLE_WERROR="${BRINDLE_WERROR:-OFF}" "$@" >/dev/null
cmake --build build -j "$(nproc)"
