#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The README's two commands, scripts/test.sh and then scripts/run.sh (or the
# other way round), configure build/ alike: a cache setting that flips between
# them would rebuild every target. Runs the real scripts with cmake, ctest and
# the other scripts they call replaced by stand-ins that record the
# configure arguments.
#   shared_build_test.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/tree/scripts" "$work/tree/build/app" "$work/path"
cp "$source"/scripts/{run,test,build}.sh "$work/tree/scripts/"
for script in setup-debian check-format fuzz sanitize; do
    printf '#!/bin/sh\n' >"$work/tree/scripts/$script.sh"
done
printf '#!/bin/sh\n' >"$work/tree/build/app/brindle"
printf '#!/bin/sh\n' >"$work/path/ctest"
# Records what each configure step sets; a build step records nothing.
cat >"$work/path/cmake" <<'STANDIN'
#!/bin/sh
[ "$1" = -S ] || exit 0
printf '%s\n' "$@" | grep '^-D' >"$CONFIGURE_LOG"
STANDIN
chmod +x "$work"/tree/scripts/*.sh "$work/tree/build/app/brindle" "$work"/path/*

run() { # script, log
    (cd "$work/tree" && env -u BRINDLE_WERROR PATH="$work/path:$PATH" CONFIGURE_LOG="$2" \
        "./scripts/$1" >/dev/null)
}
run test.sh "$work/test.args"
run run.sh "$work/run.args"
if ! diff "$work/test.args" "$work/run.args"; then
    echo "FAIL: scripts/test.sh and scripts/run.sh configure build/ differently" >&2
    exit 1
fi
echo "PASS: both configure build/ with: $(tr '\n' ' ' <"$work/test.args")"
