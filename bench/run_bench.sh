#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Throughput of brindle-scan against plain `cat` and the read floor
# (bench/read_floor: each file read once in 256 KiB blocks) over a generated
# corpus, plus (with BENCH_BIG=1) peak memory on a single multi-GB file.
#
# usage: bench/run_bench.sh [CORPUS_DIR]
#
# Environment:
#   BRINDLE_SCAN   scanner binary (default build/cli/brindle-scan; relative
#                  paths are taken from the repository root)
#   READ_FLOOR     read floor binary (default build/bench/read_floor; the
#                  row and its column are left out when it is missing)
#   BENCH_DIR      work folder (default /tmp/brindle-bench)
#   BENCH_SIZE_MB  corpus size when it has to be generated (default 600)
#   BENCH_RUNS     runs per measurement, best one counts (default 3)
#   BENCH_REF1/2   reference texts (default CORPUS_DIR-refs/ref{1,2}.txt)
#   BENCH_BIG=1    also build a 4 GiB file and measure peak memory on it
set -uo pipefail

here=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
root=$(cd -- "$here/.." && pwd)
scan=${BRINDLE_SCAN:-build/cli/brindle-scan}
[[ $scan == /* ]] || scan=$root/$scan
floor=${READ_FLOOR:-build/bench/read_floor}
[[ $floor == /* ]] || floor=$root/$floor
bench_dir=${BENCH_DIR:-/tmp/brindle-bench}
corpus=${1:-$bench_dir/corpus}
corpus=${corpus%/}
runs=${BENCH_RUNS:-3}
jobs=$(nproc)
MB=1048576

die() { echo "run_bench: $*" >&2; exit 2; }

[[ -x $scan ]] || die "no scanner at $scan (build it first or set BRINDLE_SCAN)"

# Leave a hand-made corpus alone; our own one is (re)generated as needed.
if [[ ! -e $corpus || -e $corpus/.complete || -e $corpus/.generating ]]; then
    python3 "$here/make_corpus.py" "$corpus" --size-mb "${BENCH_SIZE_MB:-600}" ||
        die "corpus generation failed"
fi
ref1=${BENCH_REF1:-$corpus-refs/ref1.txt}
ref2=${BENCH_REF2:-$corpus-refs/ref2.txt}
[[ -f $ref1 && -f $ref2 ]] || die "reference texts missing ($ref1, $ref2); set BENCH_REF1/BENCH_REF2"

# The scanner skips dot files, so the byte count does too.
read -r bytes files < <(find "$corpus" -type f ! -name '.*' -printf '%s\n' |
    awk '{ s += $1; n++ } END { printf "%d %d\n", s, n }')
((files > 0)) || die "no files in $corpus"

errlog=$(mktemp)
trap 'rm -f "$errlog"' EXIT

cat_all() {
    find "$corpus" -type f ! -name '.*' -print0 | xargs -0 cat >/dev/null
}

# measure CMD...: best wall time of $runs runs in $best. Exit 1 from the
# scanner only means it found suspects, so it counts as success.
measure() {
    local i t0 t1 rc
    best=
    for ((i = 0; i < runs; i++)); do
        t0=$(date +%s.%N)
        "$@" >/dev/null 2>"$errlog"
        rc=$?
        t1=$(date +%s.%N)
        if ((rc > 1)); then
            echo "run_bench: '$*' exited with status $rc" >&2
            tail -n 5 "$errlog" | sed 's/^/    /' >&2
            best=
            failed=1
            return 1
        fi
        best=$(awk -v a="$t0" -v b="$t1" -v m="$best" \
            'BEGIN { d = b - a; if (m == "" || d < m) m = d; printf "%.6f", m }')
    done
}

cat_secs=
floor_secs=
failed=0
row() { # name seconds [seconds of the -j 1 twin]
    local name=$1 secs=$2 base=${3:-}
    if [[ -z $secs ]]; then
        printf '%-30s %10s\n' "$name" FAILED
        return
    fi
    awk -v n="$name" -v s="$secs" -v b="$bytes" -v c="$cat_secs" -v f="$floor_secs" -v j="$base" -v mb=$MB 'BEGIN {
        pct = (c != "" && s > 0) ? sprintf("%.1f%%", 100 * c / s) : "-"
        fl = (f != "" && s > 0) ? sprintf("%.1f%%", 100 * f / s) : "-"
        up = (j != "" && s > 0) ? sprintf("%.2fx", j / s) : ""
        printf "%-30s %10.3f %10.1f %10s %10s %9s\n", n, s, (s > 0 ? b / mb / s : 0), pct, fl, up
    }'
}

echo "scanner : $scan"
awk -v b="$bytes" -v n="$files" -v c="$corpus" -v mb=$MB \
    'BEGIN { printf "corpus  : %s (%.1f MB, %d files; MB = 2^20 bytes)\n", c, b / mb, n }'
echo "refs    : $ref1 $ref2"
echo "cpus    : $jobs; best of $runs run(s) per row"
echo

cat_all
cat "$ref1" "$ref2" >/dev/null

printf '%-30s %10s %10s %10s %10s %9s\n' name seconds MB/s "% of cat" "% of floor" speed-up
measure cat_all && cat_secs=$best
row "cat" "$cat_secs"
if [[ -x $floor ]]; then
    measure "$floor" "$corpus" 1 && floor_secs=$best
    row "read floor" "$floor_secs"
fi

measure "$scan" -s -j 1 --no-progress "$corpus"
plain1=$best
row "scan -j 1" "$plain1"
measure "$scan" -s -j "$jobs" --no-progress "$corpus"
row "scan -j $jobs" "$best" "$plain1"

measure "$scan" -s -d -r "$ref1" -r "$ref2" -j 1 --no-progress "$corpus"
digraph1=$best
row "scan -d -r R1 -r R2 -j 1" "$digraph1"
measure "$scan" -s -d -r "$ref1" -r "$ref2" -j "$jobs" --no-progress "$corpus"
row "scan -d -r R1 -r R2 -j $jobs" "$best" "$digraph1"
# The extended checks against -d alone (goal: at most 1.25 times its time).
if "$scan" --help 2>/dev/null | grep -q -- '--extended'; then
    for j in 1 "$jobs"; do
        measure "$scan" -s -d -r "$ref1" -r "$ref2" -j "$j" --no-progress "$corpus" && plain_d=$best
        measure "$scan" -s -d --extended -r "$ref1" -r "$ref2" -j "$j" --no-progress "$corpus"
        row "scan -d --extended -j $j" "$best"
        [[ -n $best && -n ${plain_d:-} ]] && awk -v x="$best" -v d="$plain_d" \
            'BEGIN { printf "%-30s %10.2f times -d (goal <= 1.25)\n", "", x / d }'
    done
else
    echo "scan -d --extended: skipped (this scanner has no --extended)"
fi
echo

label="peak memory, scan -d -r R1 -j 1, 4 GiB file"
if [[ ${BENCH_BIG:-0} != 1 ]]; then
    echo "$label: skipped (set BENCH_BIG=1)"
    exit $failed
fi
if ! /usr/bin/time -f %M -o /dev/null true 2>/dev/null; then
    echo "$label: skipped (no GNU /usr/bin/time)"
    exit $failed
fi

big_dir=$bench_dir/big
big=$big_dir/big.txt
target=$((4096 * MB))
# The largest corpus file is plain cp1252 text by construction.
src=$(find "$corpus" -type f ! -name '.*' -printf '%s\t%p\n' | sort -n | tail -n 1 | cut -f 2-)
src_size=$(stat -c %s "$src")
copies=$(((target + src_size - 1) / src_size))
if [[ ! -f $big || $(stat -c %s "$big") -ne $((copies * src_size)) ]]; then
    mkdir -p "$big_dir" || die "cannot create $big_dir"
    rm -f "$big"
    avail=$(df --output=avail -B1 "$big_dir" | tail -n 1)
    if ((avail < copies * src_size + 256 * MB)); then
        echo "$label: skipped (not enough free space in $big_dir)"
        exit $failed
    fi
    echo "building $big from $copies copies of $src ..."
    if ! for ((i = 0; i < copies; i++)); do cat "$src"; done >"$big_dir/.big.txt.tmp"; then
        rm -f "$big_dir/.big.txt.tmp"
        die "cannot write $big"
    fi
    mv "$big_dir/.big.txt.tmp" "$big" || die "cannot write $big"
fi

memlog=$(mktemp)
t0=$(date +%s.%N)
/usr/bin/time -f %M -o "$memlog" "$scan" -d -r "$ref1" -j 1 --no-progress "$big_dir" >/dev/null 2>"$errlog"
rc=$?
t1=$(date +%s.%N)
if ((rc > 1)); then
    echo "run_bench: scan of $big exited with status $rc" >&2
    tail -n 5 "$errlog" | sed 's/^/    /' >&2
    echo "$label: FAILED"
    failed=1
else
    awk -v kb="$(tail -n 1 "$memlog")" -v a="$t0" -v b="$t1" -v sz="$(stat -c %s "$big")" -v mb=$MB -v l="$label" \
        'BEGIN { printf "%s: %.1f MB max RSS (%.0f MB file, %.1f s, %.1f MB/s)\n", l, kb / 1024, sz / mb, b - a, sz / mb / (b - a) }'
fi
rm -f "$memlog"
exit $failed
