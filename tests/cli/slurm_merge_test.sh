#!/bin/bash
# The merge step of scripts/slurm on parts made here: outputs joined in shard
# order (10 after 9), error lines in the same order, statuses combined 2 over
# 1 over 0, and a missing part an error that is named.
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
    "$merge" parts "$n" merged.out 2>merged.err
    got=$?
    [ "$got" = "$expected" ] || fail "statuses $statuses: exit $got, not $expected"
    want_out="" want_err=""
    for k in $(seq "$n"); do
        [ "${list[k - 1]}" = - ] && want_err+="brindle-scan-merge: parts/part-$k: missing (the task did not finish)"$'\n' && continue
        want_out+="out $k"$'\n'
        [ "${list[k - 1]}" = 2 ] && want_err+="err $k"$'\n'
    done
    [ "$(cat merged.out; echo .)" = "$want_out." ] || fail "statuses $statuses: output $(cat merged.out)"
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

# Without OUTPUT the parts go to standard output; a bad N is refused.
make_parts 0 1
[ "$("$merge" parts 2)" = $'out 1\nout 2' ] || fail "standard output"
"$merge" parts 0 2>/dev/null && fail "N = 0 accepted"
"$merge" parts x 2>/dev/null && fail "N = x accepted"

((failures == 0)) || exit 1
echo "the merge joins parts in order and combines their statuses"
