#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets of fuzz/ with clang (ASan + UBSan) into
# build-fuzz/ and runs them over their seed corpora.
#
#   scripts/fuzz.sh            a short regression run: every target, a fixed
#                              number of runs over its corpus (the test command)
#   scripts/fuzz.sh SECONDS    a campaign: every target for SECONDS each,
#                              new inputs kept in build-fuzz/corpus/<target>
#   scripts/fuzz.sh SECONDS fuzz_ini   the same for one target
#   scripts/fuzz.sh '' fuzz_ini        one target's short regression run
set -eu
cd "$(dirname "$0")/.."
RUNS=${FUZZ_RUNS:-1000}
SECONDS_EACH=${1:-}
ONLY=${2:-}
case "$SECONDS_EACH" in
    ''|[1-9]*) ;;
    *) echo "usage: scripts/fuzz.sh [SECONDS (more than 0) [TARGET]]" >&2; exit 2 ;;
esac
LAUNCHER=""
if command -v ccache >/dev/null 2>&1; then LAUNCHER="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"; fi
SAN="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ $LAUNCHER \
    -DBRINDLE_FUZZ=ON -DBRINDLE_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link $SAN" \
    -DCMAKE_EXE_LINKER_FLAGS="$SAN" -DCMAKE_SHARED_LINKER_FLAGS="$SAN" >/dev/null
# The targets are those fuzz/CMakeLists.txt lists.
TARGETS=${ONLY:-$(cat build-fuzz/fuzz/targets.txt)}
cmake --build build-fuzz -j "$(nproc)" --target $TARGETS
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0}"
export TMPDIR="${TMPDIR:-/tmp}"
for t in $TARGETS; do
    seeds="fuzz/corpus/$t"
    if [ -n "$SECONDS_EACH" ]; then
        # Campaign: new finds go to a corpus of our own; the seeds stay as they are.
        mkdir -p "build-fuzz/corpus/$t"
        echo "== $t for ${SECONDS_EACH}s"
        "build-fuzz/fuzz/$t" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
            -max_len=65536 -print_final_stats=1 "build-fuzz/corpus/$t" "$seeds"
    else
        echo "== $t: $RUNS runs"
        log="build-fuzz/$t.log"
        # Inputs the run finds go to a scratch folder, never into the seeds.
        rm -rf "build-fuzz/regress/$t" && mkdir -p "build-fuzz/regress/$t"
        if ! "build-fuzz/fuzz/$t" -runs="$RUNS" -seed=1 -timeout=10 -rss_limit_mb=2048 \
            -max_len=4096 "build-fuzz/regress/$t" "$seeds" >"$log" 2>&1; then
            cat "$log" >&2
            echo "fuzz target $t failed; the input is in the lines above" >&2
            exit 1
        fi
        tail -n 1 "$log"
    fi
done
