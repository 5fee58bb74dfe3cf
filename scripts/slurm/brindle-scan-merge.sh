#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Joins the parts of a brindle-scan job array (brindle-scan-array.sbatch) in
# shard order: their standard outputs, concatenated, are exactly the output
# of one brindle-scan over the whole corpus; their error lines go to standard
# error in the same order. The exit status combines the parts' statuses, 2
# over 1 over 0: 2 when any part had an error, else 1 when any found suspect
# files, else 0. Every part is checked first: when one is missing, cannot be
# read or is cut short, each such file is named, nothing is written (an
# existing OUTPUT stays as it was) and the status is 2.
#
#   brindle-scan-merge.sh PARTS N [OUTPUT]
#
# Without OUTPUT the result goes to standard output; with it, OUTPUT is
# replaced whole (a temporary file beside it, renamed into place). It runs on
# any machine that sees PARTS, or as a Slurm job after the array:
#
#   sbatch --dependency=afterany:ARRAY_JOB_ID brindle-scan-merge.sh PARTS N OUTPUT
#SBATCH --job-name=brindle-scan-merge
#SBATCH --ntasks=1
set -u

fail() {
    echo "brindle-scan-merge: $*" >&2
    exit 2
}

[ $# -eq 2 ] || [ $# -eq 3 ] || fail "usage: $0 PARTS N [OUTPUT]"
parts=$1 n=$2 output=${3:-}
case $n in
'' | *[!0-9]*) fail "N must be a whole number of 1 or more, not '$n'" ;;
esac
[ "$n" -ge 1 ] || fail "N must be a whole number of 1 or more, not '$n'"

# A part's file, checked before anything is written: readable, and ending
# its last line (a missing line feed would glue two parts' lines into one;
# --list -0 parts end with a NUL instead).
bad=0
problem() {
    echo "brindle-scan-merge: $*" >&2
    bad=1
}
check_file() {
    if [ ! -e "$1" ]; then
        problem "$1: missing (the task did not finish)"
    elif [ ! -f "$1" ]; then
        problem "$1: not a regular file"
    elif ! tail -c 1 "$1" >/dev/null 2>&1; then
        problem "$1: cannot be read"
    else
        case $(tail -c 1 "$1" | od -An -tx1 | tr -d ' \n') in
        '' | 0a | 00) ;;
        *) problem "$1: the last line has no line feed (the part is cut short)" ;;
        esac
    fi
}
k=1
while [ "$k" -le "$n" ]; do
    base="$parts/part-$k"
    # The status is written last: without it the task did not finish.
    if [ ! -e "$base.status" ]; then
        problem "$base: missing (the task did not finish)"
    else
        for f in "$base.status" "$base.out" "$base.err"; do check_file "$f"; done
    fi
    k=$((k + 1))
done
# Nothing is written then: an OUTPUT made before stays as it was.
[ "$bad" -eq 0 ] || exit 2

if [ -n "$output" ]; then
    tmp="$output.tmp.$$"
    trap 'rm -f "$tmp"' EXIT
    : >"$tmp" || fail "$output: cannot write"
    exec 3>"$tmp"
else
    exec 3>&1
fi

combined=0
k=1
while [ "$k" -le "$n" ]; do
    base="$parts/part-$k"
    status=$(cat "$base.status") || fail "$base.status: cannot be read"
    case $status in
    0 | 1 | 2) ;;
    *) status=2 ;; # killed, or not brindle-scan's status at all
    esac
    cat "$base.out" >&3 || fail "${output:-standard output}: cannot write"
    cat "$base.err" >&2
    [ "$status" -gt "$combined" ] && combined=$status
    k=$((k + 1))
done

exec 3>&-
if [ -n "$output" ]; then
    sync "$tmp" && mv -f "$tmp" "$output" || fail "$output: cannot write"
fi
exit "$combined"
