#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The merge step of scripts/slurm on parts made here: outputs joined in shard
# order (10 after 9), error lines in the same order, statuses combined 2 over
# 1 over 0; a missing, unreadable or cut part is named and nothing written.
#   slurm_merge_test.sh SOURCE_DIR
set -uo pipefail
merge=$(realpath "$1/scripts/slurm/brindle-scan-merge.sh")
work=$(mktemp -d) || exit 1
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# Parts whose statuses are given, one digit per part; "-" leaves a part out.
make_parts() {
    rm -rf parts && mkdir parts
    local k=0 status
    for status in "$@"; do
        k=$((k + 1))
        [ "$status" = - ] && continue
        printf 'out %d\n' "$k" >"parts/part-$k.out"
        : >"parts/part-$k.err"
        if [ "$status" = 2 ]; then printf 'err %d\n' "$k" >"parts/part-$k.err"; fi
        echo "$status" >"parts/part-$k.status"
    done
}

while read -r expected statuses; do
    read -ra list <<<"$statuses"
    make_parts "${list[@]}"
    n=${#list[@]}
    rm -f merged.out
    "$merge" parts "$n" merged.out 2>merged.err
    got=$?
    [ "$got" = "$expected" ] || fail "statuses $statuses: exit $got, not $expected"
    want_out="" want_err="" missing=""
    for k in $(seq "$n"); do
        [ "${list[k - 1]}" = - ] && missing+="brindle-scan-merge: parts/part-$k: missing (the task did not finish)"$'\n' && continue
        want_out+="out $k"$'\n'
        [ "${list[k - 1]}" = 2 ] && want_err+="err $k"$'\n'
    done
    # A missing part: only it is named, and no OUTPUT is made.
    if [ -n "$missing" ]; then
        [ ! -e merged.out ] || fail "statuses $statuses: output written with a part missing"
        want_err=$missing
    else
        [ "$(cat merged.out; echo .)" = "$want_out." ] || fail "statuses $statuses: output $(cat merged.out)"
    fi
    [ "$(cat merged.err; echo .)" = "$want_err." ] || fail "statuses $statuses: errors $(cat merged.err)"
done <<'CASES'
0 0 0 0
1 0 1 0
2 1 2 0
2 0 0 2 1
1 0 0 0 0 0 0 0 0 0 1 0 0
2 0 - 0
2 0 1 0 0 0 0 0 0 0 0 -
CASES

# A part that is there but cannot be used: it is named, an OUTPUT made
# before is left as it was, and the status is 2, whatever the parts' own.
while IFS='|' read -r what damage cause; do
    make_parts 0 0 0
    (cd parts && eval "$damage")
    printf 'complete\n' >merged.out
    "$merge" parts 3 merged.out 2>merged.err
    got=$?
    [ "$got" = 2 ] || fail "$what: exit $got, not 2"
    [ "$(cat merged.out)" = complete ] || fail "$what: OUTPUT replaced by $(cat merged.out)"
    [ "$(cat merged.err)" = "brindle-scan-merge: $cause" ] || fail "$what: errors $(cat merged.err)"
    [ -z "$(ls -A | grep -v '^parts$\|^merged')" ] || fail "$what: left $(ls -A)"
done <<'CASES'
output missing|rm part-2.out|parts/part-2.out: missing (the task did not finish)
errors missing|rm part-3.err|parts/part-3.err: missing (the task did not finish)
output cut short|printf 'out 2' >part-2.out|parts/part-2.out: the last line has no line feed (the part is cut short)
errors cut short|printf 'err' >part-1.err|parts/part-1.err: the last line has no line feed (the part is cut short)
status cut short|printf '0' >part-1.status|parts/part-1.status: the last line has no line feed (the part is cut short)
output a folder|rm part-2.out && mkdir part-2.out|parts/part-2.out: not a regular file
CASES

# Parts of --list -0 end with a NUL, not a line feed: they join as they are.
make_parts 0 0
printf 'a\0' >parts/part-1.out
printf 'b\0' >parts/part-2.out
"$merge" parts 2 merged.out 2>merged.err || fail "NUL-ended parts refused: $(cat merged.err)"
[ "$(od -An -c merged.out | tr -d ' ')" = 'a\0b\0' ] || fail "NUL-ended parts: $(od -An -c merged.out)"

# Without OUTPUT the parts go to standard output; a bad N is refused.
make_parts 0 1
[ "$("$merge" parts 2)" = $'out 1\nout 2' ] || fail "standard output"
"$merge" parts 0 2>/dev/null && fail "N = 0 accepted"
"$merge" parts x 2>/dev/null && fail "N = x accepted"

((failures == 0)) || exit 1
echo "the merge joins parts in order and combines their statuses"
