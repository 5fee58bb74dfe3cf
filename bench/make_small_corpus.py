#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Build a deterministic corpus of many small text files.

usage: make_small_corpus.py OUTDIR [--files N] [--per-folder K] [--min-kb A] [--max-kb B]
                                   [--empty] [--seed S]

Writes N files (default 100 000) of A..B KiB (default 1..12) of Windows-1252
text with CR LF, K files to a folder (default 1 000), one folder level deep.
About one file in 500 is cut by a NUL, one in 500 holds stray letters, so a
scan has something to report. With --empty every file is empty (for the
memory benchmark: only the number of files matters). OUTDIR/.complete records
the parameters; a rerun with the same ones does nothing.
"""

import argparse
import os
import random
import sys
from pathlib import Path

WORDS = (
    "the of and to a in is it you that he was for on are with as his they be at one have this "
    "from or had by hot word but what some we can out other were all there when up use your how "
    "said an each she which do their time if will way about many then them write would like so "
    "these her long make thing see him two has look more day could go come did number sound no "
    "most people my over know water than call first who may down side been now find any new work "
    "part take get place made live where after back little only round man year came show every "
    "good me give our under name very through just form sentence great think say help low line"
).split()


def text_of(rng, size):
    out = []
    n = 0
    while n < size:
        line = " ".join(rng.choice(WORDS) for _ in range(rng.randint(6, 14)))
        line = line[0].upper() + line[1:] + ".\r\n"
        out.append(line)
        n += len(line)
    return "".join(out).encode("cp1252")[:size]


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("outdir", type=Path)
    ap.add_argument("--files", type=int, default=100_000)
    ap.add_argument("--per-folder", type=int, default=1000)
    ap.add_argument("--min-kb", type=int, default=1)
    ap.add_argument("--max-kb", type=int, default=12)
    ap.add_argument("--empty", action="store_true")
    ap.add_argument("--seed", type=int, default=1729)
    a = ap.parse_args()
    stamp = f"{a.files} {a.per_folder} {a.min_kb} {a.max_kb} {a.empty} {a.seed}\n"
    done = a.outdir / ".complete"
    if done.exists() and done.read_text() == stamp:
        return 0
    if a.outdir.exists() and any(a.outdir.iterdir()) and not done.exists():
        print(f"make_small_corpus: {a.outdir} is not empty and not ours", file=sys.stderr)
        return 2
    if done.exists():
        done.unlink()
    rng = random.Random(a.seed)
    # A pool of texts, cut to each file's size: generating every file's text
    # afresh would take longer than the benchmark.
    pool = [text_of(rng, a.max_kb * 1024) for _ in range(64)]
    for i in range(a.files):
        folder = a.outdir / f"{i // a.per_folder:05d}"
        if i % a.per_folder == 0:
            folder.mkdir(parents=True, exist_ok=True)
        if a.empty:
            data = b""
        else:
            size = rng.randint(a.min_kb * 1024, a.max_kb * 1024)
            data = pool[rng.randrange(len(pool))][:size]
            kind = rng.randrange(500)
            if kind == 0:
                cut = rng.randrange(1, size)
                data = data[:cut] + b"\0" * (size - cut)
            elif kind == 1:
                data = bytes(rng.choice(b"zqxjkvwy ") for _ in range(size))
        with open(folder / f"f{i:07d}.txt", "wb") as f:
            f.write(data)
    done.write_text(stamp)
    return 0


if __name__ == "__main__":
    sys.exit(main())
