#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A user's own English reference texts for the labelled corpus of
make_eval_corpus.py: the prose of the Debian Developer's Reference, a
document that neither the shipped profiles nor the corpus are made from, as
a linguist would name a few texts of the kind of their corpus.

    bench/make_eval_refs.py [OUT] [--packages DIR]

OUT (default /work/eval/refs-en) gets one UTF-8 text per chapter. The
package is downloaded with apt-get into --packages (default OUT/../debs).
"""

import argparse
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import markup_text  # noqa: E402

PACKAGE = "developers-reference=12.18"
CHAPTERS = ["best-pkging-practices", "beyond-pkging", "developer-duties", "pkgs",
            "resources", "tools"]


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out", nargs="?", default="/work/eval/refs-en")
    ap.add_argument("--packages")
    a = ap.parse_args(argv[1:])
    packages = a.packages or os.path.join(os.path.dirname(os.path.abspath(a.out)), "debs")
    os.makedirs(packages, exist_ok=True)
    name, version = PACKAGE.split("=")
    deb = os.path.join(packages, "%s_%s_all.deb" % (name, version))
    if not os.path.exists(deb):
        subprocess.run(["apt-get", "download", PACKAGE], cwd=packages, check=True,
                       stdout=subprocess.DEVNULL)
    os.makedirs(a.out, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(["dpkg-deb", "-x", deb, tmp], check=True)
        for chapter in CHAPTERS:
            page = os.path.join(tmp, "usr/share/developers-reference", chapter + ".html")
            if not os.path.exists(page):
                continue
            with open(page, encoding="utf-8") as f:
                paras = markup_text.paragraphs(f.read(), "en")
            with open(os.path.join(a.out, chapter + ".txt"), "w", encoding="utf-8") as f:
                f.write("\n\n".join(paras) + "\n")
    print("%s: %d texts" % (a.out, len(os.listdir(a.out))))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
