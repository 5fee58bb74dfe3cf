#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# One task of a Slurm job array running brindle-scan over a corpus: task K of
# N checks shard K/N and writes its part into PARTS, a folder every node can
# reach. scripts/slurm/brindle-scan-merge.sh then joins the parts in shard
# order into exactly the output of one brindle-scan over the whole corpus.
#
#   sbatch --array=1-N brindle-scan-array.sbatch PARTS [brindle-scan options] FOLDER...
#   sbatch --array=1-N brindle-scan-array.sbatch PARTS [options] -0 --files-from LIST
#
# Each task writes PARTS/part-K.out (standard output), PARTS/part-K.err
# (standard error) and last PARTS/part-K.status (brindle-scan's exit status),
# each renamed into place whole, so a part with a status file is complete.
# The task itself fails (for Slurm) only on an error (status 2), not because
# it found suspect files.
#
# BRINDLE_SCAN names the program (default: brindle-scan on the PATH). The
# array's numbering may start anywhere (--array=0-15 works too).
#SBATCH --job-name=brindle-scan
#SBATCH --ntasks=1
#SBATCH --output=/dev/null
set -u

fail() {
    echo "brindle-scan-array: $*" >&2
    exit 2
}

[ $# -ge 2 ] || fail "usage: sbatch --array=1-N $0 PARTS [brindle-scan options] FOLDER..."
[ -n "${SLURM_ARRAY_TASK_ID:-}" ] && [ -n "${SLURM_ARRAY_TASK_COUNT:-}" ] ||
    fail "not a task of a job array: submit with sbatch --array=1-N"
parts=$1
shift
mkdir -p "$parts" || fail "$parts: cannot make the folder"

k=$((SLURM_ARRAY_TASK_ID - ${SLURM_ARRAY_TASK_MIN:-1} + 1))
n=$SLURM_ARRAY_TASK_COUNT
base="$parts/part-$k"
rm -f "$base.status"

"${BRINDLE_SCAN:-brindle-scan}" --no-progress --shard "$k/$n" "$@" \
    >"$base.out.tmp" 2>"$base.err.tmp"
status=$?

printf '%s\n' "$status" >"$base.status.tmp" &&
    sync "$base.out.tmp" "$base.err.tmp" "$base.status.tmp" &&
    mv -f "$base.out.tmp" "$base.out" && mv -f "$base.err.tmp" "$base.err" &&
    mv -f "$base.status.tmp" "$base.status" ||
    fail "$base: cannot write the part"
[ "$status" -le 1 ] || exit "$status"
exit 0
