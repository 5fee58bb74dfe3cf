#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Build N tiny files, 1 000 to a folder, one in 100 cut by a NUL (suspect
by the size test): for the window's memory figure, where only the number of
files and of suspects matters.

usage: make_memory_corpus.py OUTDIR N

OUTDIR/.complete records N; a rerun with the same N does nothing.
"""

import sys
from pathlib import Path


def main():
    out, n = Path(sys.argv[1]), int(sys.argv[2])
    done = out / ".complete"
    if done.exists() and done.read_text() == str(n):
        return
    for i in range(n):
        folder = out / f"d{i // 1000:04d}"
        if i % 1000 == 0:
            folder.mkdir(parents=True, exist_ok=True)
        body = b"A short line of text.\r\n"
        if i % 100 == 7:
            body += b"\0" * 16
        (folder / f"f{i % 1000:03d}.txt").write_bytes(body)
    done.write_text(str(n))


if __name__ == "__main__":
    main()
