#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Medians of the timed rounds of a benchmark script.

usage: medians.py TIMES ROW          the median time of ROW
       medians.py TIMES ROW_A ROW_B  the median over rounds of A's time / B's,
                                     and in brackets the lowest and highest
                                     of those per-round ratios

TIMES holds lines "ROW ROUND SECONDS".
"""

import statistics
import sys


def main() -> int:
    times: dict[str, dict[str, float]] = {}
    with open(sys.argv[1], encoding="utf-8") as f:
        for line in f:
            row, rnd, secs = line.split()
            times.setdefault(row, {})[rnd] = float(secs)
    if len(sys.argv) == 3:
        print(f"{statistics.median(times[sys.argv[2]].values()):.3f}")
    else:
        a, b = times[sys.argv[2]], times[sys.argv[3]]
        ratios = [a[r] / b[r] for r in a if r in b and b[r] > 0]
        print(f"{statistics.median(ratios):.2f} ({min(ratios):.2f}-{max(ratios):.2f})")
    return 0


if __name__ == "__main__":
    sys.exit(main())
