#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Per-file overhead, two jobs, and memory against the number of files.
#
# usage: bench/small_files_bench.sh
#
# Prints, next to the read floor (bench/read_floor: reads every file once in
# 256 KiB blocks and does nothing else):
#   - 100 000 small files (1-12 KiB, 1 000 a folder): the size test and -d,
#     one job and two;
#   - the big-file corpus of make_corpus.py: the size test and -d with one
#     job and two;
#   - on both, -d --extended with one job against -d (when the scanner has
#     --extended);
#   - peak RSS (GNU time) of a scan over 1 000 000 empty files.
# Times are medians of BENCH_RUNS rounds (default 7) with a warm cache; each
# round runs every row once, and each ratio is the median of its per-round
# ratios, so a drift in the machine's speed cancels out; the lowest and
# highest of those follow it in brackets. Each ratio is also
# given in CPU time (user + system, by GNU time), which a machine shared with
# other work disturbs less than the wall clock.
#
# Environment:
#   BUILD        build folder (default build; relative to the repository root)
#   BENCH_DIR    work folder (default /tmp/brindle-bench)
#   BENCH_RUNS   rounds (default 7)
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
runs=${BENCH_RUNS:-7}

die() { echo "small_files_bench: $*" >&2; exit 2; }
[[ -x $scan && -x $floor ]] ||
    die "build brindle-scan and read_floor first: cmake --build $build --target brindle-scan read_floor"
/usr/bin/time -f %U true 2>/dev/null || die "GNU time (/usr/bin/time) is needed"
mkdir -p "$bench_dir" || die "cannot make $bench_dir"

small=$bench_dir/small
big=$bench_dir/corpus
python3 "$here/make_small_corpus.py" "$small" || die "small corpus generation failed"
python3 "$here/make_corpus.py" "$big" >/dev/null || die "corpus generation failed"
ref=$big-refs/ref1.txt
# The same small files named in a list, as every cluster shard reads them.
list=$bench_dir/small.list
"$scan" --list -0 -s "$small" >"$list" || die "cannot list $small"

# Status 1 (suspects found) is success.
names=()
cmds=()
row() { names+=("$1"); shift; cmds+=("$(printf '%q ' "$@")"); }
row floor1 "$floor" "$small" 1
row floor2 "$floor" "$small" 2
row size1 "$scan" -s -j 1 --no-progress "$small"
row size2 "$scan" -s -j 2 --no-progress "$small"
row sizelist1 "$scan" -j 1 --no-progress -0 --files-from "$list"
row d1 "$scan" -s -d -r "$ref" -j 1 --no-progress "$small"
row d2 "$scan" -s -d -r "$ref" -j 2 --no-progress "$small"
row bigfloor "$floor" "$big" 1
row bigfloor2 "$floor" "$big" 2
row bigsize1 "$scan" -s -j 1 --no-progress "$big"
row bigsize2 "$scan" -s -j 2 --no-progress "$big"
row big1 "$scan" -s -d -r "$ref" -j 1 --no-progress "$big"
row big2 "$scan" -s -d -r "$ref" -j 2 --no-progress "$big"
# The extended checks, held to at most 1.25 times -d.
extended=0
if "$scan" --help 2>/dev/null | grep -q -- '--extended'; then
    extended=1
    row dx1 "$scan" -s -d --extended -r "$ref" -j 1 --no-progress "$small"
    row bigx1 "$scan" -s -d --extended -r "$ref" -j 1 --no-progress "$big"
fi

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; $runs rounds"
"$floor" "$small" 2 >/dev/null # warm the cache
"$floor" "$big" 2 >/dev/null
times=$bench_dir/times.txt
cpu=$bench_dir/cpu.txt
: >"$times"
: >"$cpu"
for ((r = 0; r < runs; r++)); do
    for i in "${!names[@]}"; do
        t0=$(date +%s.%N)
        eval "/usr/bin/time -f '%U %S' -o $(printf %q "$bench_dir/one.txt") ${cmds[$i]}" >/dev/null 2>&1
        status=$?
        t1=$(date +%s.%N)
        ((status > 1)) && die "failed: ${cmds[$i]}"
        echo "${names[$i]} $r $(awk -v a="$t0" -v c="$t1" 'BEGIN { printf "%.4f", c - a }')" >>"$times"
        # The last line: GNU time first notes a nonzero exit status.
        echo "${names[$i]} $r $(tail -n 1 "$bench_dir/one.txt" | awk '{ printf "%.4f", $1 + $2 }')" >>"$cpu"
    done
done
# fig ROW: its median time. wall A B: the median over rounds of A/B; ratio
# A B: that, then the same in CPU time (two jobs against one only make sense
# on the wall clock).
fig() { python3 "$here/medians.py" "$times" "$1"; }
wall() { python3 "$here/medians.py" "$times" "$1" "$2"; }
ratio() {
    echo "$(python3 "$here/medians.py" "$times" "$1" "$2") [CPU $(python3 "$here/medians.py" "$cpu" "$1" "$2")]"
}

# Each ratio is printed with the goal it is held to.
speed='  %-34s %8s s   %s of the floor'"'"'s speed (goal %s)\n'
printf '\n100 000 small files (%s)\n' "$small"
printf '  %-34s %8s s\n' "read floor, 1 job" "$(fig floor1)"
printf '  %-34s %8s s   %s times one job\n' "read floor, 2 jobs" "$(fig floor2)" "$(wall floor1 floor2)"
printf "$speed" "size test, 1 job" "$(fig size1)" "$(ratio floor1 size1)" ">= 0.75"
printf '  %-34s %8s s   %s times the size test (goal <= 1.3)\n' "-d, 1 job" "$(fig d1)" "$(ratio d1 size1)"
printf '  %-34s %8s s   %s times the walk (goal <= 1.05)\n' "size test from --files-from, 1 job" "$(fig sizelist1)" "$(ratio sizelist1 size1)"
printf '  %-34s %8s s   %s times one job (goal >= 1.8)\n' "size test, 2 jobs" "$(fig size2)" "$(wall size1 size2)"
printf '  %-34s %8s s   %s times one job (goal >= 1.8)\n' "-d, 2 jobs" "$(fig d2)" "$(wall d1 d2)"
if ((extended)); then
    printf '  %-34s %8s s   %s times -d (goal <= 1.25)\n' "-d --extended, 1 job" "$(fig dx1)" "$(ratio dx1 d1)"
fi

printf '\nbig files (%s)\n' "$big"
printf '  %-34s %8s s\n' "read floor, 1 job" "$(fig bigfloor)"
printf '  %-34s %8s s   %s times one job\n' "read floor, 2 jobs" "$(fig bigfloor2)" "$(wall bigfloor bigfloor2)"
printf "$speed" "size test, 1 job" "$(fig bigsize1)" "$(ratio bigfloor bigsize1)" ">= 0.60"
printf "$speed" "-d, 1 job" "$(fig big1)" "$(ratio bigfloor big1)" ">= 0.25"
printf '  %-34s %8s s   %s times one job (goal >= 1.8)\n' "size test, 2 jobs" "$(fig bigsize2)" "$(wall bigsize1 bigsize2)"
printf '  %-34s %8s s   %s times one job (goal >= 1.8)\n' "-d, 2 jobs" "$(fig big2)" "$(wall big1 big2)"
if ((extended)); then
    printf '  %-34s %8s s   %s times -d (goal <= 1.25)\n' "-d --extended, 1 job" "$(fig bigx1)" "$(ratio bigx1 big1)"
else
    printf '\n-d --extended: skipped (this scanner has no --extended)\n'
fi

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
