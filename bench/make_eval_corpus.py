#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A labelled corpus for judging the scanner's verdicts: good text in five
languages, files too short to judge, and damaged files of many kinds.

    bench/make_eval_corpus.py [OUT] [--seed S] [--packages DIR]

OUT (default /work/eval/corpus) gets files/NNNN.txt and labels.tsv (path
relative to OUT, label good|damaged|short, kind, language, encoding, line
ends). The same seed and the same packages give the same bytes.

The text is the prose of Debian documentation packages (EVAL_PACKAGES, at
fixed versions, downloaded with apt-get into --packages, default
OUT/../debs) that the shipped language profiles were NOT built from, so the
corpus measures the profiles on text they have not seen.
"""

import argparse
import base64
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tools"))
import markup_text  # noqa: E402

LANGS = ["en", "de", "fr", "es", "it"]
EDU = "2.12.23~deb12u1"
MAINT = "1.2.53"
EVAL_PACKAGES = [
    "gnome-user-docs=43.0-2",
    "installation-guide-amd64=20230508+deb12u1",
    "maint-guide=" + MAINT,
] + ["debian-edu-doc-%s=%s" % (c, EDU) for c in LANGS] + [
    "maint-guide-%s=%s" % (c, MAINT) for c in LANGS if c != "en"]


def page_globs(lang):
    """The pages of each document in `lang`, relative to the unpacked root."""
    gnome = "C" if lang == "en" else lang
    maint = "maint-guide" if lang == "en" else "maint-guide-" + lang
    return {
        "gnome-user-docs": "usr/share/help/%s/gnome-help/*.page" % gnome,
        "installation-guide": "usr/share/doc/installation-guide-amd64/%s/*.html" % lang,
        "debian-edu-manual": "usr/share/doc/debian-edu-doc-%s/debian-edu-bookworm-manual.html" % lang,
        "maint-guide": "usr/share/doc/%s/html/*.%s.html" % (maint, lang),
    }


def deb_name(spec):
    name, version = spec.split("=")
    return "%s_%s_all.deb" % (name, version.replace(":", "%3a"))


def fetch(packages_dir):
    os.makedirs(packages_dir, exist_ok=True)
    missing = [spec for spec in EVAL_PACKAGES
               if not os.path.exists(os.path.join(packages_dir, deb_name(spec)))]
    if missing:
        r = subprocess.run(["apt-get", "download"] + missing, cwd=packages_dir,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        if r.returncode != 0:
            sys.exit("make_eval_corpus: could not download %s: %s" % (" ".join(missing), r.stderr))


def load_documents(packages_dir):
    """{lang: [(name, [paragraph, ...]), ...]} in a fixed order."""
    import glob
    root = tempfile.mkdtemp(prefix="brindle-eval-")
    try:
        for spec in EVAL_PACKAGES:
            subprocess.run(["dpkg-deb", "-x", os.path.join(packages_dir, deb_name(spec)), root],
                           check=True)
        docs = {}
        for lang in LANGS:
            docs[lang] = []
            for name, pattern in sorted(page_globs(lang).items()):
                paras = []
                for page in sorted(glob.glob(os.path.join(root, pattern))):
                    with open(page, encoding="utf-8") as f:
                        paras += markup_text.paragraphs(f.read(), lang)
                if paras:
                    docs[lang].append((name, paras))
        return docs
    finally:
        shutil.rmtree(root)


# Windows-1252, its five unassigned bytes mapped to the C1 controls of the
# same value (as the scanner reads it).
def cp1252_decode(data):
    out = []
    for b in data:
        try:
            out.append(bytes([b]).decode("cp1252"))
        except UnicodeDecodeError:
            out.append(chr(b))
    return "".join(out)


def fill(paragraph, width=76):
    """textwrap.fill(paragraph, width, break_long_words=False,
    break_on_hyphens=False) for a paragraph of single-spaced words, faster."""
    lines, line = [], ""
    for word in paragraph.split():
        if line and len(line) + 1 + len(word) > width:
            lines.append(line)
            line = word
        else:
            line = line + " " + word if line else word
    lines.append(line)
    return "\n".join(lines)


def wrap_text(paras):
    return "\n\n".join(fill(p) for p in paras) + "\n"


class Maker:
    def __init__(self, docs, seed):
        self.docs = docs
        self.rng = random.Random(seed)
        self.files = []  # (data, label, kind, lang, encoding, newline)

    def text(self, lang, size):
        """About `size` characters of consecutive paragraphs of one document."""
        rng = self.rng
        weights = [sum(len(p) for p in paras) for _, paras in self.docs[lang]]
        _, paras = rng.choices(self.docs[lang], weights=weights)[0]
        i = rng.randrange(len(paras))
        picked, total = [], 0
        while total < size and len(picked) < len(paras):
            picked.append(paras[i % len(paras)])
            total += len(picked[-1]) + 2
            i += 1
        text = wrap_text(picked)
        if len(text) > size:  # cut at a line end so the last line is whole
            cut = text.rfind("\n", 0, size)
            text = text[:cut + 1] if cut > 0 else text[:size]
        return text

    def size(self, lo, hi):
        return int(round(lo * (hi / lo) ** self.rng.random()))

    def encode(self, text, encoding, newline):
        if newline == "crlf":
            text = text.replace("\n", "\r\n")
        if encoding == "windows-1252":
            return text.encode("cp1252")
        if encoding == "utf-8":
            return text.encode("utf-8")
        if encoding == "utf-8-bom":
            return b"\xef\xbb\xbf" + text.encode("utf-8")
        if encoding == "utf-16le":
            return b"\xff\xfe" + text.encode("utf-16-le")
        if encoding == "utf-16be":
            return b"\xfe\xff" + text.encode("utf-16-be")
        raise ValueError(encoding)

    def pick_encoding(self, text):
        enc = self.rng.choices(["windows-1252", "utf-8", "utf-8-bom", "utf-16le", "utf-16be"],
                               weights=[35, 25, 20, 12, 8])[0]
        if enc == "windows-1252":
            try:
                text.encode("cp1252")
            except UnicodeEncodeError:
                enc = "utf-8-bom"
        return enc

    def add(self, data, label, kind, lang, encoding, newline):
        self.files.append((data, label, kind, lang, encoding, newline))

    def good(self, lang, lo, hi, label="good", kind="text"):
        text = self.text(lang, self.size(lo, hi))
        enc = self.pick_encoding(text)
        nl = "crlf" if self.rng.random() < 0.4 else "lf"
        self.add(self.encode(text, enc, nl), label, kind, lang, enc, nl)

    def short(self, lang):
        # One or two sentences: too few letter pairs for their frequencies to mean much.
        text = self.text(lang, 400)
        limit = self.size(20, 160)
        words, out = text.split(), []
        for w in words:
            if len(" ".join(out + [w])) > limit:
                break
            out.append(w)
        text = " ".join(out or words[:1]) + "\n"
        enc = self.pick_encoding(text)
        nl = "crlf" if self.rng.random() < 0.4 else "lf"
        self.add(self.encode(text, enc, nl), "short", "short", lang, enc, nl)

    # --- damage -----------------------------------------------------------

    def damaged(self, kind, lang):
        rng = self.rng
        nl = "crlf" if rng.random() < 0.4 else "lf"
        text = self.text(lang, self.size(2000, 60000))
        enc = self.pick_encoding(text)
        data = None
        if kind == "nul-truncated":
            data = bytearray(self.encode(text, enc, nl))
            cut = rng.randrange(len(data) // 4, len(data) * 3 // 4)
            data[cut:] = bytes(len(data) - cut)
        elif kind == "zero-block":
            text = self.text(lang, self.size(12000, 60000))
            enc = self.pick_encoding(text)
            data = bytearray(self.encode(text, enc, nl))
            block = 4096 * rng.randint(1, 2)
            start = 4096 * rng.randrange(0, max(1, (len(data) - block) // 4096))
            data[start:start + block] = bytes(len(data[start:start + block]))
        elif kind == "nul-appended":
            nl = "lf"
            enc = rng.choice(["windows-1252", "utf-8"]) if enc.startswith("utf-16") else enc
            data = self.encode(text, enc, nl) + bytes(rng.choice([512, 4096, 8192]))
        elif kind in ("mojibake-once", "mojibake-twice"):
            enc = rng.choice(["utf-8", "utf-8-bom"])
            for _ in range(1 if kind == "mojibake-once" else 2):
                text = cp1252_decode(text.encode("utf-8"))
            data = self.encode(text, enc, nl)
        elif kind == "replacement-chars":
            enc = rng.choice(["utf-8", "utf-8-bom"])
            text = "".join(c if ord(c) < 128 else "\ufffd" for c in text)
            data = self.encode(text, enc, nl)
        elif kind == "utf16-wrong-order":
            # Little-endian units behind a big-endian mark, or the reverse.
            if rng.random() < 0.5:
                enc, data = "utf-16be", b"\xfe\xff" + text.replace("\n", "\r\n" if nl == "crlf" else "\n").encode("utf-16-le")
            else:
                enc, data = "utf-16le", b"\xff\xfe" + text.replace("\n", "\r\n" if nl == "crlf" else "\n").encode("utf-16-be")
        elif kind == "utf16-odd-bytes":
            enc = rng.choice(["utf-16le", "utf-16be"])
            data = self.encode(text, enc, nl)[:-1]
        elif kind == "utf16-zero-block":
            enc = rng.choice(["utf-16le", "utf-16be"])
            data = bytearray(self.encode(text, enc, nl))
            start = 2 * rng.randrange(1, len(data) // 4)
            data[start:start + 4096] = bytes(len(data[start:start + 4096]))
        elif kind == "random-bytes":
            lang, enc = "-", "-"
            data = bytes(rng.randrange(1, 256) for _ in range(self.size(500, 60000)))
        elif kind == "spliced-junk":
            enc = "windows-1252" if enc != "windows-1252" else enc
            try:
                raw = self.encode(text, enc, nl)
            except UnicodeEncodeError:
                enc = "windows-1252"
                raw = self.encode(text.encode("cp1252", "replace").decode("cp1252"), enc, nl)
            junk = bytes(rng.randrange(1, 256) for _ in range(rng.randint(64, 2048)))
            at = rng.randrange(len(raw))
            data = raw[:at] + junk + raw[at:]
        elif kind == "rtf":
            enc = "rtf"
            body = "".join("".join(c if ord(c) < 128 and c not in "\\{}" else
                                   ("\\'%02x" % c.encode("cp1252", "replace")[0]) for c in p)
                           + "\\par\n" for p in text.split("\n\n"))
            data = ("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\n"
                    "\\viewkind4\\uc1\\pard\\f0\\fs24 " + body + "}\n").encode("ascii")
        elif kind == "html":
            enc = "utf-8"
            paras = "".join("<p>%s</p>\n" % p.replace("&", "&amp;").replace("<", "&lt;")
                            for p in text.split("\n\n"))
            data = self.encode('<!DOCTYPE html>\n<html lang="%s">\n<head><meta charset="utf-8">'
                               "<title>Document</title></head>\n<body>\n%s</body>\n</html>\n"
                               % (lang, paras), enc, nl)
        elif kind == "xml":
            enc = "utf-8"
            paras = "".join("  <para>%s</para>\n" % p.replace("&", "&amp;").replace("<", "&lt;")
                            for p in text.split("\n\n"))
            data = self.encode('<?xml version="1.0" encoding="UTF-8"?>\n<document xml:lang="%s">\n'
                               "%s</document>\n" % (lang, paras), enc, nl)
        elif kind == "word-list":
            words = sorted({w.strip(".,;:!?()\"'«»“”’").lower() for w in text.split()} - {""})
            if rng.random() < 0.5:
                rng.shuffle(words)
            text = "\n".join(words) + "\n"
            enc = self.pick_encoding(text)
            data = self.encode(text, enc, nl)
        elif kind == "one-char":
            lang = "-"
            ch = rng.choice("=-*.#_xa ")
            n = self.size(200, 30000)
            text = ch * n + ("\n" if rng.random() < 0.5 else "")
            enc = rng.choice(["windows-1252", "utf-16le"])
            data = self.encode(text, enc, nl)
        elif kind == "empty":
            lang, enc, data = "-", "-", b""
        elif kind == "whitespace":
            lang = "-"
            text = "".join(rng.choice(" \t\n") for _ in range(self.size(1, 3000)))
            enc = rng.choice(["windows-1252", "utf-8-bom", "utf-16le"])
            data = self.encode(text, enc, nl)
        elif kind == "letters-substituted":
            src = "abcdefghijklmnopqrstuvwxyz"
            dst = list(src)
            rng.shuffle(dst)
            table = str.maketrans(src + src.upper(), "".join(dst) + "".join(dst).upper())
            text = text.translate(table)
            data = self.encode(text, enc, nl)
        elif kind == "letters-shuffled":
            def shuffle_word(w):
                letters = list(w)
                rng.shuffle(letters)
                return "".join(letters)
            text = "\n".join(" ".join(shuffle_word(w) for w in line.split(" "))
                             for line in text.split("\n"))
            data = self.encode(text, enc, nl)
        elif kind == "base64":
            enc = "ascii"
            b64 = base64.b64encode(text.encode("utf-8")).decode("ascii")
            data = self.encode("\n".join(b64[i:i + 76] for i in range(0, len(b64), 76)) + "\n",
                               "windows-1252", nl)
        elif kind == "keyboard-mash":
            lang, enc = "-", "windows-1252"
            rows = ["asdfghjkl", "qwertyuiop", "zxcvbnm", "asdf", "jkl"]
            out, n = [], self.size(300, 20000)
            while sum(len(w) + 1 for w in out) < n:
                row = rng.choice(rows)
                out.append("".join(rng.choice(row) for _ in range(rng.randint(2, 12))))
            data = self.encode(fill(" ".join(out)) + "\n", enc, nl)
        else:
            raise ValueError(kind)
        self.add(bytes(data), "damaged", kind, lang, enc, nl)


# kind: how many files of it
DAMAGE = {
    "nul-truncated": 12, "zero-block": 12, "nul-appended": 12, "mojibake-once": 12,
    "mojibake-twice": 12, "replacement-chars": 12, "utf16-wrong-order": 12,
    "utf16-odd-bytes": 12, "utf16-zero-block": 8, "random-bytes": 12, "spliced-junk": 12,
    "rtf": 10, "html": 10, "xml": 10, "word-list": 12, "one-char": 10, "empty": 4,
    "whitespace": 8, "letters-substituted": 12, "letters-shuffled": 12, "base64": 10,
    "keyboard-mash": 10,
}
# Damage that needs non-ASCII letters to show.
NEEDS_ACCENTS = {"mojibake-once", "mojibake-twice", "replacement-chars"}


def build(docs, seed):
    m = Maker(docs, seed)
    for i in range(300):
        m.good(LANGS[i % 5], 300, 100_000)
    for i in range(40):
        m.short(LANGS[i % 5])
    for kind, n in DAMAGE.items():
        langs = LANGS[1:] if kind in NEEDS_ACCENTS else LANGS
        for i in range(n):
            m.damaged(kind, langs[i % len(langs)])
    m.rng.shuffle(m.files)
    return m.files


def write(final, files):
    """Writes the corpus beside `final` and then renames it into place, so a
    run that stops half-way leaves the old corpus whole."""
    if os.path.exists(final) and os.listdir(final) and \
            not os.path.exists(os.path.join(final, "labels.tsv")):
        sys.exit("make_eval_corpus: %s is not empty and was not made by this script" % final)
    out = final + ".new"
    shutil.rmtree(out, ignore_errors=True)
    os.makedirs(os.path.join(out, "files"))
    rows = ["path\tlabel\tkind\tlanguage\tencoding\tline_ends"]
    for n, (data, label, kind, lang, enc, nl) in enumerate(files, 1):
        rel = "files/%04d.txt" % n
        with open(os.path.join(out, rel), "wb") as f:
            f.write(data)
        rows.append("\t".join([rel, label, kind, lang, enc, nl]))
    with open(os.path.join(out, "labels.tsv"), "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(rows) + "\n")
    if os.path.exists(final):
        shutil.rmtree(final)
    os.rename(out, final)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("out", nargs="?", default="/work/eval/corpus")
    ap.add_argument("--seed", type=int, default=18)
    ap.add_argument("--packages", help="where the .deb files are kept (default OUT/../debs)")
    args = ap.parse_args()
    out = os.path.abspath(args.out)
    packages = args.packages or os.path.join(os.path.dirname(out), "debs")
    fetch(packages)
    files = build(load_documents(packages), args.seed)
    write(out, files)
    counts = {}
    for _, label, *_ in files:
        counts[label] = counts.get(label, 0) + 1
    print("%s: %s" % (out, ", ".join("%d %s" % (counts[k], k) for k in sorted(counts))))


if __name__ == "__main__":
    main()
