#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""make_eval_corpus.py gives the same bytes for the same seed.

    bench/test_eval_corpus.py                  # on a few paragraphs made here
    bench/test_eval_corpus.py --packages DIR   # the whole corpus, twice, from
                                               # the real packages in DIR

Each run is a process of its own with another string-hash seed, so an order
taken from a set or a dict of strings would show.
"""

import argparse
import hashlib
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# Enough prose per language for every kind of file; accents where the
# language has them, and a character Windows-1252 lacks.
PARAGRAPHS = {
    "en": "The river runs past the mill and under the old bridge before it reaches the town",
    "de": "Der Fluss fließt an der Mühle vorbei und unter der alten Brücke hindurch zur Stadt",
    "fr": "La rivière passe devant le moulin et sous le vieux pont avant d'arriver à la ville",
    "es": "El río pasa junto al molino y bajo el viejo puente antes de llegar a la ciudad ↑",
    "it": "Il fiume scorre accanto al mulino e sotto il vecchio ponte prima della città",
    # Another script, and one that no shipped language covers.
    "ru": "Река течёт мимо мельницы и под старым мостом, прежде чем дойти до города",
    "ja": "川は水車小屋のそばを流れ、古い橋の下を通って町に着きます",
}

DIGEST = """
import hashlib, json, sys
sys.path.insert(0, %r)
import make_eval_corpus as m
docs = json.loads(sys.stdin.read())
docs = {lang: [(name, paras) for name, paras in d] for lang, d in docs.items()}
h = hashlib.sha256()
for data, *fields in m.build(docs, int(sys.argv[1])):
    h.update(repr(fields).encode() + len(data).to_bytes(8, "little") + data)
print(h.hexdigest())
"""


def synthetic_digest(seed, hash_seed):
    import json
    docs = {lang: [("doc%d" % d, ["%s %d %d." % (p, d, i) for i in range(200)])
                   for d in range(2)] for lang, p in PARAGRAPHS.items()}
    env = dict(os.environ, PYTHONHASHSEED=str(hash_seed))
    r = subprocess.run([sys.executable, "-c", DIGEST % HERE, str(seed)], input=json.dumps(docs),
                       capture_output=True, text=True, env=env, check=True)
    return r.stdout.strip()


def tree_digest(folder):
    h = hashlib.sha256()
    for dirpath, dirnames, filenames in os.walk(folder):
        dirnames.sort()
        for name in sorted(filenames):
            path = os.path.join(dirpath, name)
            h.update(os.path.relpath(path, folder).encode() + b"\0")
            with open(path, "rb") as f:
                h.update(f.read())
    return h.hexdigest()


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--packages", help="check the whole corpus made from the .deb files here")
    args = ap.parse_args()
    if args.packages:
        with tempfile.TemporaryDirectory() as tmp:
            digests = []
            for run, hash_seed in enumerate(["1", "2"]):
                out = os.path.join(tmp, "corpus%d" % run)
                subprocess.run([sys.executable, os.path.join(HERE, "make_eval_corpus.py"), out,
                                "--packages", args.packages], check=True, stdout=subprocess.DEVNULL,
                               env=dict(os.environ, PYTHONHASHSEED=hash_seed))
                digests.append(tree_digest(out))
        same, differs = digests[0] == digests[1], True
    else:
        a, b, c = synthetic_digest(18, 1), synthetic_digest(18, 2), synthetic_digest(19, 1)
        same, differs = a == b, a != c
    if not same:
        print("FAIL: the same seed gave different corpora")
        return 1
    if not differs:
        print("FAIL: another seed gave the same corpus")
        return 1
    print("make_eval_corpus.py: same seed, same bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main())
