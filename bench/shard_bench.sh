#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What cutting a run into shards costs: one brindle-scan over many small
# files against the same files in N shards run one after the other. Every
# shard reads the whole list once more to weigh it (a stat per file), so the
# shards together do a little more than the one run; the largest shard shows
# how evenly the bytes were spread. Also checks that the joined shards give
# the one run's output.
#
# usage: bench/shard_bench.sh [FILES] [SHARDS]     (default 20000 files, 8 shards)
#
# Environment: BRINDLE_SCAN (default build/cli/brindle-scan), BENCH_DIR
# (default /tmp/brindle-bench), BENCH_DIGRAPH=1 adds the digraph check.
set -uo pipefail

here=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")" && pwd)
root=$(cd -- "$here/.." && pwd)
scan=${BRINDLE_SCAN:-build/cli/brindle-scan}
[[ $scan == /* ]] || scan=$root/$scan
files=${1:-20000}
shards=${2:-8}
work=${BENCH_DIR:-/tmp/brindle-bench}/shards-$files
die() { echo "shard_bench: $*" >&2; exit 2; }
[[ -x $scan ]] || die "no scanner at $scan (build it first or set BRINDLE_SCAN)"

if [[ ! -f $work/.complete ]]; then
    rm -rf "$work"
    python3 - "$work" "$files" <<'PY' || die "cannot make the corpus"
import os, random, sys
root, n = sys.argv[1], int(sys.argv[2])
rng = random.Random(17)
words = b"the of and to a in is it you that he was for on are with as his they be at".split()
os.makedirs(root + "/refs")
with open(root + "/refs/ref.txt", "wb") as f:
    f.write(b" ".join(rng.choice(words) for _ in range(200000)))
for i in range(n):
    folder = "%s/corpus/%03d" % (root, i // 1000)
    os.makedirs(folder, exist_ok=True)
    size = rng.randint(1024, 12 * 1024)
    text = b" ".join(rng.choice(words) for _ in range(size // 3))[:size]
    if i % 97 == 0:
        text = text[:100] + b"\0" + text[101:]
    with open("%s/%05d.txt" % (folder, i), "wb") as f:
        f.write(text)
PY
    touch "$work/.complete"
fi
cd "$work" || die "cannot enter $work"
options=(-s -j 1 -r refs/ref.txt)
[[ ${BENCH_DIGRAPH:-0} == 1 ]] && options+=(-d)

cat corpus/*/* >/dev/null # warm cache
now() { date +%s%N; } # nanoseconds
t0=$(now)
"$scan" "${options[@]}" corpus >whole.tsv
whole=$(($(now) - t0))
: >joined.tsv
sum=0 largest=0
for k in $(seq "$shards"); do
    s0=$(now)
    "$scan" "${options[@]}" --shard "$k/$shards" corpus >>joined.tsv
    t=$(($(now) - s0))
    sum=$((sum + t))
    ((t > largest)) && largest=$t
done
cmp -s whole.tsv joined.tsv || die "the joined shards differ from the one run"
awk -v files="$files" -v shards="$shards" -v whole="$whole" -v sum="$sum" -v largest="$largest" 'BEGIN {
    printf "files %d, shards %d, one job each\n", files, shards
    printf "one run            %6.2f s\n", whole / 1e9
    printf "shards, summed     %6.2f s  (%.2fx the one run)\n", sum / 1e9, sum / whole
    printf "largest shard      %6.2f s  (%.2fx an even share)\n", largest / 1e9, largest * shards / sum
}'
