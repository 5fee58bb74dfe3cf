#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that our C++ sources are formatted as .clang-format says, naming the
# files that are not; with --fix, formats them in place instead.
#
# usage: scripts/check-format.sh [--fix]
#
# Every C++ source of the tree is looked at, build folders left out;
# clang-format comes from Debian (scripts/setup-debian.sh installs it).
# CLANG_FORMAT picks another binary.
set -eu
cd "$(dirname "$0")/.."

clang_format=${CLANG_FORMAT:-clang-format}
command -v "$clang_format" >/dev/null 2>&1 || {
    echo "check-format: $clang_format not found (apt-get install clang-format)" >&2
    exit 2
}

list=$(mktemp)
trap 'rm -f "$list"' EXIT
# Build folders (build/, build-asan/, ...) hold generated code, not ours.
find . \( -path './.*' -o -path './build*' \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print |
    sed 's|^\./||' | LC_ALL=C sort >"$list"

if [ "${1:-}" = "--fix" ]; then
    xargs "$clang_format" -i <"$list"
    exit 0
fi

# failing CHECK: the files of the list for which the command CHECK FILE
# fails, each on a line of its own, indented.
failing() {
    while IFS= read -r f; do
        "$@" "$f" || printf '\n  %s' "$f"
    done <"$list"
}
licensed() { head -n 2 "$1" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later'; }
formatted() { "$clang_format" --dry-run --Werror "$1" >/dev/null 2>&1; }

# Every source says its licence in its first lines.
unlicensed=$(failing licensed)
if [ -n "$unlicensed" ]; then
    echo "check-format: these files lack the line '// SPDX-License-Identifier: GPL-3.0-or-later':$unlicensed" >&2
    exit 1
fi
drifted=$(failing formatted)
if [ -n "$drifted" ]; then
    echo "check-format: these files are not formatted (cmake --build build --target format):$drifted" >&2
    exit 1
fi
echo "check-format: $(wc -l <"$list") files formatted"
