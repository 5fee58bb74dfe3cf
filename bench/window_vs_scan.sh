#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The window's run against `brindle-scan` on the same folders, both with
# their default number of jobs (one per core): a mixed corpus of 309 files
# (about 60 MiB, subfolders), 10 000 small files, 100 000 small files
# (make_small_corpus.py) and big files (make_corpus.py, about 600 MiB).
#
# usage: bench/window_vs_scan.sh
#
# The window is the real main window, opened offscreen by bench/window_run,
# which presses Start and times the run from the press to its end. The
# scanner is timed as a whole process (start-up and output included). Each
# figure is the best of BENCH_RUNS runs with a warm page cache; `ratio` is
# window / scan.
#
# Then the memory figure: the resident memory a run over BENCH_MEMORY_FILES
# tiny files (default 1 000 000, one in 100 suspect; make_memory_corpus.py)
# adds to the idle window, at its peak (goal: at most 64 MiB).
#
# Environment:
#   BRINDLE_BUILD  build folder (default build; relative to the repository root)
#   BENCH_DIR      work folder for the generated folders (default /tmp/brindle-window-bench)
#   BENCH_RUNS     runs per figure, best one counts (default 3)
#   BENCH_MEMORY_FILES  files of the memory figure (default 1000000; 0 skips it)
set -uo pipefail

here=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
root=$(cd -- "$here/.." && pwd)
build=${BRINDLE_BUILD:-build}
[[ $build == /* ]] || build=$root/$build
scan=$build/cli/brindle-scan
window=$build/bench/window_run
work=${BENCH_DIR:-/tmp/brindle-window-bench}
runs=${BENCH_RUNS:-3}

die() { echo "window_vs_scan: $*" >&2; exit 2; }
[[ -x $scan ]] || die "no scanner at $scan (cmake --build $build --target brindle-scan)"
[[ -x $window ]] || die "no driver at $window (cmake --build $build --target window_run)"
python3 "$here/make_window_corpora.py" "$work" >/dev/null || die "making the folders failed"
python3 "$here/make_small_corpus.py" "$work/many" >/dev/null || die "making the small files failed"
python3 "$here/make_corpus.py" "$work/big" >/dev/null || die "making the big files failed"
ref=$work/refs/ref1.txt

errlog=$(mktemp)
trap 'rm -f "$errlog"' EXIT

# best_scan ARGS...: best wall time of the scanner in $best; exit 1 (suspects
# found) counts as success. Its line count goes to $entries.
best_scan() {
    local i t0 t1 rc d
    best=
    for ((i = 0; i < runs; i++)); do
        t0=$(date +%s.%N)
        entries=$("$scan" "$@" 2>"$errlog" | wc -l)
        rc=${PIPESTATUS[0]}
        t1=$(date +%s.%N)
        ((rc > 1)) && { cat "$errlog" >&2; die "brindle-scan $* exited with $rc"; }
        d=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", b - a }')
        best=$(awk -v d="$d" -v m="$best" 'BEGIN { print (m == "" || d < m) ? d : m }')
    done
}

# best_window ARGS...: best run time of the window in $best, entries listed
# in $entries.
best_window() {
    local i out secs
    best=
    for ((i = 0; i < runs; i++)); do
        out=$("$window" "$@" 2>"$errlog") || { cat "$errlog" >&2; die "window_run $* failed"; }
        read -r secs entries <<<"$out"
        best=$(awk -v d="$secs" -v m="$best" 'BEGIN { print (m == "" || d < m) ? d : m }')
    done
}

echo "best of $runs run(s), $(nproc) cores; window: Start pressed to end of run; scan: whole process"
printf '%-32s %8s %10s %10s %7s\n' folder entries "window s" "scan s" ratio
failed=0
for folder in mixed small many big; do
    for mode in "" -d; do
        best_window -s $mode -r "$ref" "$work/$folder"
        wsecs=$best went=$entries
        # Warm: the window's runs have read every file already.
        best_scan -s $mode --no-progress -r "$ref" "$work/$folder"
        ssecs=$best
        if [[ $went != "$entries" ]]; then
            echo "window_vs_scan: $folder $mode: the window listed $went, the scanner $entries" >&2
            failed=1
        fi
        files=$(find "$work/$folder" -type f -not -name '.*' | wc -l)
        label="$folder ($files files)${mode:+, digraph}"
        awk -v l="$label" -v e="$entries" -v w="$wsecs" -v s="$ssecs" \
            'BEGIN { printf "%-32s %8d %10.3f %10.3f %6.2fx\n", l, e, w, s, (s > 0 ? w / s : 0) }'
    done
done

memfiles=${BENCH_MEMORY_FILES:-1000000}
if ((memfiles > 0)); then
    python3 "$here/make_memory_corpus.py" "$work/memory-$memfiles" "$memfiles" ||
        die "making the memory folder failed"
    out=$("$window" -s -m "$work/memory-$memfiles" 2>"$errlog") ||
        { cat "$errlog" >&2; die "window_run -m failed"; }
    read -r secs entries kib <<<"$out"
    awk -v n="$memfiles" -v e="$entries" -v k="$kib" -v s="$secs" \
        'BEGIN { printf "memory: %d tiny files, %d listed: the run added %.1f MiB to the idle window (%.1f s)\n", n, e, k / 1024, s }'
fi
exit $failed
