#!/usr/bin/env bash
# Per-file overhead, two jobs, and memory against the number of files.
#
# usage: bench/small_files_bench.sh
#
# Prints, next to the read floor (bench/read_floor: reads every file once in
# 256 KiB blocks and does nothing else):
#   - 100 000 small files (1-12 KiB, 1 000 a folder): the size test and -d,
#     one job and two;
#   - the big-file corpus of make_corpus.py: -d with one job and two;
#   - peak RSS (GNU time) of a scan over 1 000 000 empty files.
# Each time is the best of BENCH_RUNS runs (default 3) with a warm cache.
#
# Environment:
#   BUILD        build folder (default build; relative to the repository root)
#   BENCH_DIR    work folder (default /tmp/brindle-bench)
#   BENCH_RUNS   runs per row (default 3)
#   BENCH_MEMORY 0 skips the 1 000 000-file tree (it takes minutes to make
#                and to remove; it is removed afterwards unless BENCH_KEEP=1)
set -uo pipefail

here=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
root=$(cd -- "$here/.." && pwd)
build=${BUILD:-build}
[[ $build == /* ]] || build=$root/$build
scan=$build/cli/brindle-scan
floor=$build/bench/read_floor
bench_dir=${BENCH_DIR:-/tmp/brindle-bench}
runs=${BENCH_RUNS:-3}

die() { echo "small_files_bench: $*" >&2; exit 2; }
[[ -x $scan && -x $floor ]] ||
    die "build brindle-scan and read_floor first: cmake --build $build --target brindle-scan read_floor"
mkdir -p "$bench_dir" || die "cannot make $bench_dir"

small=$bench_dir/small
big=$bench_dir/corpus
python3 "$here/make_small_corpus.py" "$small" || die "small corpus generation failed"
python3 "$here/make_corpus.py" "$big" >/dev/null || die "corpus generation failed"
ref=$big-refs/ref1.txt

# best CMD...: the best wall time of $runs runs, in seconds. Status 1 (suspects
# found) is success.
best() {
    local i t0 t1 b=
    for ((i = 0; i < runs; i++)); do
        t0=$(date +%s.%N)
        "$@" >/dev/null 2>&1
        (($? > 1)) && { echo "FAILED: $*" >&2; echo 0; return; }
        t1=$(date +%s.%N)
        b=$(awk -v a="$t0" -v c="$t1" -v m="$b" 'BEGIN { d = c - a; if (m == "" || d < m) m = d; printf "%.3f", m }')
    done
    echo "$b"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
"$floor" "$small" 2 >/dev/null # warm the cache

f1=$(best "$floor" "$small" 1)
f2=$(best "$floor" "$small" 2)
s1=$(best "$scan" -s -j 1 --no-progress "$small")
s2=$(best "$scan" -s -j 2 --no-progress "$small")
d1=$(best "$scan" -s -d -r "$ref" -j 1 --no-progress "$small")
d2=$(best "$scan" -s -d -r "$ref" -j 2 --no-progress "$small")
printf '\n100 000 small files (%s)\n' "$small"
printf '  %-34s %8s s\n' "read floor, 1 job" "$f1" "read floor, 2 jobs" "$f2"
printf '  %-34s %8s s   %s of the floor'"'"'s speed\n' "size test, 1 job" "$s1" "$(ratio "$f1" "$s1")"
printf '  %-34s %8s s   %sx the size test\n' "-d, 1 job" "$d1" "$(ratio "$d1" "$s1")"
printf '  %-34s %8s s   %sx one job\n' "size test, 2 jobs" "$s2" "$(ratio "$s1" "$s2")"
printf '  %-34s %8s s   %sx one job\n' "-d, 2 jobs" "$d2" "$(ratio "$d1" "$d2")"

bf=$(best "$floor" "$big" 1)
b1=$(best "$scan" -s -d -r "$ref" -j 1 --no-progress "$big")
b2=$(best "$scan" -s -d -r "$ref" -j 2 --no-progress "$big")
printf '\nbig files (%s)\n' "$big"
printf '  %-34s %8s s\n' "read floor, 1 job" "$bf"
printf '  %-34s %8s s\n' "-d, 1 job" "$b1"
printf '  %-34s %8s s   %sx one job\n' "-d, 2 jobs" "$b2" "$(ratio "$b1" "$b2")"

if [[ ${BENCH_MEMORY:-1} != 0 ]]; then
    empty=$bench_dir/empty
    python3 "$here/make_small_corpus.py" "$empty" --files 1000000 --empty ||
        die "empty tree generation failed"
    printf '\n1 000 000 empty files (%s)\n' "$empty"
    for j in 1 2; do
        /usr/bin/time -v -o "$bench_dir/time.txt" "$scan" -s -j "$j" --no-progress "$empty" >/dev/null 2>&1
        rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$bench_dir/time.txt")
        printf '  %-34s %8s MiB\n' "peak RSS, $j job(s)" "$(awk -v k="$rss" 'BEGIN { printf "%.1f", k / 1024 }')"
    done
    [[ ${BENCH_KEEP:-0} == 1 ]] || rm -rf "$empty"
fi
echo
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
