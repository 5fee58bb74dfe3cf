#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Scores one scanner run on the labelled corpus of make_eval_corpus.py.

    bench/eval_figures.py [--languages L,L...] CORPUS RUN.jsonl TITLE

A file is listed when the run has a line for it whose status (when there is
one) is not a pass or "too short". Files labelled short are counted apart:
how many the run listed and how many it called too short. Precision and
recall are over the good and damaged files only; with --languages, only
over the files of those languages ("-" for files of no language). Every
listed line must say why: a line with an empty reason is counted and shown.
"""

import json
import os
import sys

PASS_STATUSES = {"ok", "pass", "passed", "good", "clean"}
# Listed, but as neither passed nor suspect: a script no set holds.
UNJUDGED_STATUSES = {"not-judged"}


def is_short_status(status):
    return "short" in status.lower()


def main(argv):
    only = None
    if len(argv) > 2 and argv[1] == "--languages":
        only = set(argv[2].split(","))
        argv = argv[:1] + argv[3:]
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    corpus, run, title = argv[1:]
    labels = {}
    with open(os.path.join(corpus, "labels.tsv"), encoding="utf-8") as f:
        next(f)
        for line in f:
            path, label, kind, lang = line.rstrip("\n").split("\t")[:4]
            if only is None or lang in only:
                labels[os.path.realpath(os.path.join(corpus, path))] = (label, kind, lang)

    listed, too_short, not_judged, no_reason = set(), set(), set(), 0
    with open(run, encoding="utf-8") as f:
        for line in f:
            rec = json.loads(line)
            path = os.path.realpath(rec["path"])
            if path not in labels:
                continue
            status = str(rec.get("status", ""))
            if not rec.get("reason"):
                no_reason += 1
            if is_short_status(status):
                too_short.add(path)
            elif status.lower() in UNJUDGED_STATUSES:
                not_judged.add(path)
            elif status.lower() not in PASS_STATUSES:
                listed.add(path)

    judged = [p for p, (label, _, _) in labels.items() if label != "short"]
    damaged = [p for p in judged if labels[p][0] == "damaged"]
    caught = [p for p in damaged if p in listed]
    listed_judged = [p for p in judged if p in listed]
    precision = len(caught) / len(listed_judged) if listed_judged else 1.0
    recall = len(caught) / len(damaged) if damaged else 1.0

    print("== %s" % title)
    print("precision %.3f (%d of %d listed are damaged)" % (precision, len(caught), len(listed_judged)))
    print("recall    %.3f (%d of %d damaged listed)" % (recall, len(caught), len(damaged)))
    print("lines with an empty reason: %d" % no_reason)
    short = [p for p, (label, _, _) in labels.items() if label == "short"]
    print("short files: %d; listed %d, too short %d" % (
        len(short), sum(p in listed for p in short), sum(p in too_short for p in short)))
    if not_judged:
        print("not judged (a script no set holds): %d" % len(not_judged))
    other_short = sum(p in too_short for p in judged)
    if other_short:
        print("good or damaged files called too short: %d" % other_short)

    print("good files listed, per language:")
    langs = sorted({labels[p][2] for p in judged if labels[p][0] == "good"})
    for lang in langs:
        good = [p for p in judged if labels[p][0] == "good" and labels[p][2] == lang]
        n = sum(p in listed for p in good)
        print("  %-3s %3d of %3d (%.2f)" % (lang, n, len(good), n / len(good)))

    print("damage caught, per language (- for damage of no language):")
    for lang in sorted({labels[p][2] for p in damaged}):
        files = [p for p in damaged if labels[p][2] == lang]
        n = sum(p in listed for p in files)
        print("  %-3s %3d of %3d (%.2f)" % (lang, n, len(files), n / len(files)))

    print("damage caught, per kind:")
    kinds = sorted({labels[p][1] for p in damaged})
    for kind in kinds:
        files = [p for p in damaged if labels[p][1] == kind]
        n = sum(p in listed for p in files)
        print("  %-20s %3d of %3d (%.2f)" % (kind, n, len(files), n / len(files)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
