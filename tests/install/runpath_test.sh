#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# No built program or library searches the current folder for libraries: an
# empty RUNPATH entry (a leading, trailing or doubled ':') means the folder
# the program is started from, so a libQt6Core.so.6 placed there would load.
# Also in the installed package, whose RUNPATH must stay relative.
#   runpath_test.sh BINARY...
set -euo pipefail

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for binary in "$@"; do
    [[ -f $binary ]] || { fail "$binary was not built"; continue; }
    dynamic=$(readelf -d "$binary") || { fail "readelf cannot read $binary"; continue; }
    while IFS= read -r line; do
        [[ $line =~ \((RUNPATH|RPATH)\).*\[(.*)\]$ ]] || continue
        path=${BASH_REMATCH[2]}
        [[ $path == :* || $path == *: || $path == *::* || -z $path ]] &&
            fail "$binary has an empty entry in its ${BASH_REMATCH[1]}: [$path]"
        IFS=: read -ra entries <<<"$path"
        for entry in "${entries[@]}"; do
            [[ $entry == /* || $entry == \$ORIGIN* ]] ||
                fail "$binary has a ${BASH_REMATCH[1]} entry relative to the current folder: $entry"
        done
    done <<<"$dynamic"
done
((failures == 0)) || exit 1
echo "PASS: $# binaries, no RUNPATH entry relative to the current folder"
