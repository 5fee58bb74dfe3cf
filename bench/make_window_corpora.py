#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Build the two folders the window benchmark runs over.

usage: make_window_corpora.py OUTDIR [--seed S]

OUTDIR/mixed: 309 files, about 60 MiB, sizes log-uniform from 1 KiB to
  8 MiB over two folder levels, in the encodings and line ends of
  make_corpus.py, with its deliberately corrupt files among them.
OUTDIR/small: 10 000 files of 200 bytes to 4 KiB in 20 folders, one in 50
  cut short by a NUL.
OUTDIR/refs/ref1.txt: a reference text, as make_corpus.py makes them.

Deterministic; a rerun with the same seed finds OUTDIR/.complete and does
nothing.
"""

import argparse
import math
import random
import shutil
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_corpus as mc  # noqa: E402

FORMAT_VERSION = 1
MIXED_FILES = 309
MIXED_BYTES = 60 * mc.MB
SMALL_FILES = 10_000


def mixed_plan(rng: random.Random, count: int) -> list[dict]:
    """`count` file plans whose sizes add up to about MIXED_BYTES."""
    lo, hi = math.log(1 * mc.KB), math.log(8 * mc.MB)
    sizes = [math.exp(rng.uniform(lo, hi)) for _ in range(count)]
    scale = MIXED_BYTES / sum(sizes)
    langs, weights = zip(*mc.LANG_WEIGHTS)
    files = []
    for i, s in enumerate(sizes):
        f = {
            "size": max(1 * mc.KB, min(int(s * scale), 16 * mc.MB)),
            "lang": rng.choices(langs, weights)[0],
            "other": rng.choice([c for c in mc.WORDS if c != "en"]),
            "enc": rng.choices(("cp1252", "utf-8", "utf-16le"), (84, 10, 6))[0],
            "eol": "\n" if rng.random() < 0.15 else "\r\n",
            "style": "flowing" if rng.random() < 0.15 else "wrapped",
            "folder": rng.choice(mc.FOLDERS),
        }
        f["path"] = f"{f['folder']}/{f['lang']}_{i:03d}.txt".lstrip("/")
        files.append(f)
    return files


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("outdir", type=Path)
    ap.add_argument("--seed", type=int, default=mc.DEFAULT_SEED)
    args = ap.parse_args()
    out = args.outdir.resolve()
    stamp = f"brindle-window-corpora format={FORMAT_VERSION} seed={args.seed}\n"
    if (out / ".complete").is_file() and (out / ".complete").read_text() == stamp:
        print(f"make_window_corpora: {out} is up to date")
        return 0
    if out.exists():
        if not ((out / ".complete").exists() or (out / ".generating").exists()) and any(out.iterdir()):
            sys.exit(f"make_window_corpora: {out} is not empty and was not made by this script")
        shutil.rmtree(out)
    started = time.monotonic()
    out.mkdir(parents=True)
    (out / ".generating").write_text(stamp)
    pools = mc.Pools(args.seed)

    corrupt = mc.corrupt_files(pools, args.seed)
    rng = random.Random(f"{args.seed}:window:mixed")
    for i, f in enumerate(mixed_plan(rng, MIXED_FILES - len(corrupt))):
        frng = random.Random(f"{args.seed}:window:file:{i}")
        mc.write_file(out / "mixed" / f["path"], mc.ENCODINGS[f["enc"]][1],
                      mc.make_text_file(pools, f, frng))
    for rel, _kind, data in corrupt:
        mc.write_file(out / "mixed" / rel, b"", [data])

    rng = random.Random(f"{args.seed}:window:small")
    paras = pools.encoded("en", "wrapped", "cp1252", "\r\n")
    for i in range(SMALL_FILES):
        data = b"".join(mc.fill(paras, rng.randint(200, 4 * mc.KB), rng))[: 4 * mc.KB]
        if i % 50 == 7:
            cut = len(data) // 3
            data = data[:cut] + b"\0" + data[cut + 1:]
        path = out / "small" / f"part{i % 20:02d}" / f"note{i:05d}.txt"
        mc.write_file(path, b"", [data])

    mc.write_file(out / "refs" / "ref1.txt", b"", [mc.make_reference(pools, args.seed, 1)])
    (out / ".complete").write_text(stamp)
    (out / ".generating").unlink()
    print(f"make_window_corpora: {out} in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
