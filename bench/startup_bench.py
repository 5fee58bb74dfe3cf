#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What loading the language sets adds before the first file is judged.

    bench/startup_bench.py [--runs N]

Times `brindle-scan --extended -d --language L` on one short file that is
long enough to be judged (so its set's cut is needed), against `-d
--profile en.profile` on the same file (no sets at all): the difference is
what loading, separating and calibrating the sets costs. Rows: the five
Western European sets and every shipped set, each with the cuts stored in
the profiles and with them left out (version 1 copies of the same
profiles, calibrated at run time). Figures are medians of N runs (default
15), wall-clock and CPU (user + system) milliseconds.

BRINDLE_SCAN (default build/cli/brindle-scan) and BRINDLE_LANGUAGES
(default build/share/brindle/languages, else data/languages) choose the
scanner and the profiles.
"""

import argparse
import os
import resource
import statistics
import struct
import subprocess
import sys
import tempfile
import time
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

TEXT = (
    "The committee met on Tuesday to discuss the plans for the new library. "
    "Several members asked whether the building would be finished before the "
    "winter, and the architect explained that the walls were already standing "
    "and that the roof would follow within a few weeks, weather permitting.\n"
) * 8


def without_cut(data):
    """A version 1 copy of a profile: the same counts, no stored cut."""
    if data[8:12] != struct.pack("<I", 2):
        return data
    n = struct.unpack_from("<I", data, 28)[0]
    body = bytearray(data[:32 + 12 * n])
    body[8:12] = struct.pack("<I", 1)
    return bytes(body) + struct.pack("<I", zlib.crc32(bytes(body)) & 0xFFFFFFFF)


def timed(cmd, env):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    r = subprocess.run(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if r.returncode > 1:
        sys.exit("startup_bench: %s failed (status %d): %s"
                 % (" ".join(cmd), r.returncode, r.stderr.decode(errors="replace")))
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall * 1000, cpu * 1000


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--runs", type=int, default=15)
    args = ap.parse_args()
    scan = os.environ.get("BRINDLE_SCAN", "build/cli/brindle-scan")
    scan = scan if os.path.isabs(scan) else os.path.join(ROOT, scan)
    shipped = os.environ.get("BRINDLE_LANGUAGES",
                             os.path.join(ROOT, "build/share/brindle/languages"))
    if not os.path.isdir(shipped):
        shipped = os.path.join(ROOT, "data/languages")
    if not os.access(scan, os.X_OK):
        sys.exit("startup_bench: no scanner at %s (build it, or set BRINDLE_SCAN)" % scan)
    codes = sorted(f[:-8] for f in os.listdir(shipped) if f.endswith(".profile"))

    with tempfile.TemporaryDirectory(prefix="brindle-startup-") as work:
        text = os.path.join(work, "note.txt")
        with open(text, "w", encoding="ascii") as f:
            f.write(TEXT)
        plain = os.path.join(work, "v1")
        os.mkdir(plain)
        for code in codes:
            with open(os.path.join(shipped, code + ".profile"), "rb") as f:
                data = f.read()
            with open(os.path.join(plain, code + ".profile"), "wb") as f:
                f.write(without_cut(data))

        def run(folder, languages):
            env = dict(os.environ, BRINDLE_LANGUAGES=folder)
            if languages is None:
                cmd = [scan, "-d", "--profile", os.path.join(folder, "en.profile")]
            else:
                cmd = [scan, "--extended", "-d", "--language", languages]
            return cmd + ["--no-progress", text], env

        five = ",".join(c for c in ["en", "de", "fr", "es", "it"] if c in codes)
        rows = [
            ("no sets (-d --profile en.profile)", shipped, None),
            ("5 sets, stored cuts", shipped, five),
            ("5 sets, calibrated at run time", plain, five),
            ("%d sets, stored cuts" % len(codes), shipped, "auto"),
            ("%d sets, calibrated at run time" % len(codes), plain, "auto"),
        ]
        results = []
        for title, folder, languages in rows:
            cmd, env = run(folder, languages)
            timed(cmd, env)  # warm the page cache
            walls, cpus = zip(*(timed(cmd, env) for _ in range(args.runs)))
            results.append((title, statistics.median(walls), statistics.median(cpus)))

    base_wall, base_cpu = results[0][1], results[0][2]
    print("start-up before the first file: median of %d runs, %s" % (args.runs, scan))
    print("%-40s %9s %9s %12s %12s" % ("", "wall ms", "CPU ms", "+wall ms", "+CPU ms"))
    for title, wall, cpu in results:
        print("%-40s %9.1f %9.1f %12.1f %12.1f"
              % (title, wall, cpu, wall - base_wall, cpu - base_cpu))


if __name__ == "__main__":
    main()
