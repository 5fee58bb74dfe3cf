#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""A labelled corpus for judging the scanner's verdicts: good text in every
shipped language and in scripts no shipped language covers, files too
short to judge, and damaged files of many kinds in each language.

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

# The first five have 60 good files each, as they always had; every other
# shipped language 15, and each script that no shipped language covers 12.
LANGS = ["en", "de", "fr", "es", "it"]
MORE_LANGS = ["pt", "nl", "ca", "pl", "cs", "sl", "hu", "ro", "sv", "da", "nb", "fi", "tr",
              "id", "ru", "uk", "el", "sr", "vi", "gl"]
# Language: the script whose letters its paragraphs must mostly be in.
UNCOVERED = {"ja": "kana-han", "zh": "han", "ko": "hangul", "ar": "arabic", "fa": "arabic",
             "he": "hebrew"}
EDU = "2.12.23~deb12u1"
MAINT = "1.2.53"
MANPAGES = "4.18.1-1"
# The manual pages of the languages whose profiles are not made from them.
MAN_LANGS = ["ro", "nb", "tr", "sr", "el", "id"]
EVAL_PACKAGES = [
    "gnome-user-docs=43.0-2",
    "installation-guide-amd64=20230508+deb12u1",
    "debian-handbook=11.20220922",
    "hspell=1.4-3.1",
    "maint-guide=" + MAINT,
] + ["debian-edu-doc-%s=%s" % (c, EDU) for c in LANGS] + [
    "maint-guide-%s=%s" % (c, MAINT) for c in LANGS if c != "en"] + [
    "manpages-%s=%s" % (c, "2.0.6-2" if c == "tr" else MANPAGES) for c in MAN_LANGS]


def page_globs(lang):
    """The pages of each document in `lang`, relative to the unpacked root:
    never one of the documents the language's profile is made from
    (tools/make_language_profiles.sh)."""
    gnome = {"en": "C", "zh": "zh_CN"}.get(lang, lang)
    maint = "maint-guide" if lang == "en" else "maint-guide-" + lang
    globs = {
        "gnome-user-docs": "usr/share/help/%s/gnome-help/*.page" % gnome,
        "installation-guide": "usr/share/doc/installation-guide-amd64/%s/*.html"
                              % {"zh": "zh_CN"}.get(lang, lang),
        "debian-edu-manual": "usr/share/doc/debian-edu-doc-%s/debian-edu-bookworm-manual.html" % lang,
        "maint-guide": "usr/share/doc/%s/html/*.%s.html" % (maint, lang),
    }
    if lang in MAN_LANGS:
        globs["manpages"] = "usr/share/man/%s/man*/*.gz" % lang
    if lang == "he":  # the Hebrew spelling rules that come with the checker
        globs["hspell-niqqudless"] = "usr/share/doc/hspell/niqqudless.odt"
    if lang == "ar":  # no language profile is made from the handbook's Arabic
        globs["debian-handbook"] = "usr/share/doc/debian-handbook/html/ar-MA/*.html"
    if lang == "sr":  # its profile is the GNOME help
        del globs["gnome-user-docs"]
    if lang == "ro":  # its profile is the Installation Guide
        del globs["installation-guide"]
    return globs


SCRIPT_RANGES = {
    "kana-han": [(0x3040, 0x30FF), (0x4E00, 0x9FFF)],
    "han": [(0x4E00, 0x9FFF), (0x3400, 0x4DBF)],
    "hangul": [(0xAC00, 0xD7AF), (0x1100, 0x11FF), (0x3130, 0x318F)],
    "hebrew": [(0x0590, 0x05FF)],
    "arabic": [(0x0600, 0x06FF), (0x0750, 0x077F), (0xFB50, 0xFDFF), (0xFE70, 0xFEFF)],
}


def mostly_in(paragraph, script):
    """Whether the paragraph has at least 20 letters, 80 % of them in
    `script` (translations leave some paragraphs, and many names, in
    English)."""
    letters = [c for c in paragraph if c.isalpha()]
    inside = sum(any(lo <= ord(c) <= hi for lo, hi in SCRIPT_RANGES[script]) for c in letters)
    return len(letters) >= 20 and inside >= 0.8 * len(letters)


def page_paragraphs(page, lang):
    """The prose paragraphs of one page (a manual page is rendered first)."""
    if page.endswith(".gz"):
        raw = subprocess.run(["zcat", page], stdout=subprocess.PIPE, check=True).stdout
        text = subprocess.run(
            ["groff", "-man", "-Tutf8", "-Kutf-8", "-P-cbou", "-rLL=3000n", "-rHY=0", "-dAD=l"],
            input=raw, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout.decode("utf-8", "replace")
        paras = markup_text.plain_lines(text, lang if lang in markup_text.FUNCTION_WORDS else None)
        return [" ".join(p.split()) for p in paras.split("\n\n") if p.strip()]
    if page.endswith(".odt"):  # a text document: its paragraphs are text:p and text:h
        import html
        import re
        import zipfile
        with zipfile.ZipFile(page) as z:
            xml = z.read("content.xml").decode("utf-8")
        xml = re.sub(r"</text:(p|h)>", "\n", xml)
        xml = re.sub(r"<text:(s|tab|line-break)\b[^>]*>", " ", xml)
        xml = html.unescape(re.sub(r"<[^>]+>", "", xml))
        return [" ".join(line.split()) for line in xml.split("\n")
                if mostly_in(line, UNCOVERED[lang])]
    with open(page, encoding="utf-8") as f:
        markup = f.read()
    if lang in UNCOVERED:  # some are written without spaces
        return [p for p in markup_text.paragraphs(markup, min_words=1)
                if mostly_in(p, UNCOVERED[lang])]
    return markup_text.paragraphs(markup, lang)


def deb_name(spec):
    name, version = spec.split("=")
    arch = "amd64" if name == "hspell" else "all"
    return "%s_%s_%s.deb" % (name, version.replace(":", "%3a"), arch)


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
        for lang in LANGS + MORE_LANGS + sorted(UNCOVERED):
            docs[lang] = []
            for name, pattern in sorted(page_globs(lang).items()):
                paras = []
                for page in sorted(glob.glob(os.path.join(root, pattern))):
                    paras += page_paragraphs(page, lang)
                # Each paragraph once, as the profiles take them (manual
                # pages all end with the same notices).
                paras = list(dict.fromkeys(paras))
                if paras:
                    docs[lang].append((name, paras))
            if not docs[lang]:
                sys.exit("make_eval_corpus: no text in %s in the packages" % lang)
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
            except UnicodeEncodeError:  # letters Windows-1252 lacks: UTF-8
                enc = "utf-8"
                raw = self.encode(text, enc, nl)
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
            other = sorted({c for c in text.lower() if c.isalpha() and ord(c) >= 0x370})
            if len(other) > len(src) // 2:  # Greek or Cyrillic: its own letters
                src = "".join(other)
            dst = list(src)
            rng.shuffle(dst)
            upper = "".join(c.upper() if len(c.upper()) == 1 else c for c in src)
            dst_upper = "".join(c.upper() if len(c.upper()) == 1 else c for c in dst)
            table = str.maketrans(src + upper, "".join(dst) + dst_upper)
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
# The damage each other language gets, one file of each: the kinds that
# work on its text (the rest are the same bytes whatever the language).
PER_LANGUAGE_DAMAGE = [
    "nul-truncated", "zero-block", "mojibake-once", "mojibake-twice", "replacement-chars",
    "utf16-wrong-order", "spliced-junk", "letters-substituted", "letters-shuffled", "word-list",
]
# And each uncovered script: the damage checks still judge it.
UNCOVERED_DAMAGE = ["nul-truncated", "zero-block", "mojibake-once", "utf16-wrong-order"]


def build(docs, seed):
    """The corpus's files, for the languages `docs` has."""
    m = Maker(docs, seed)
    first = [lang for lang in LANGS if lang in docs]
    for i in range(300):
        m.good(first[i % len(first)], 300, 100_000)
    for i in range(40):
        m.short(first[i % len(first)])
    for kind, n in DAMAGE.items():
        langs = first[1:] if kind in NEEDS_ACCENTS else first
        for i in range(n):
            m.damaged(kind, langs[i % len(langs)])
    for lang in [lang for lang in MORE_LANGS if lang in docs]:
        for _ in range(15):
            m.good(lang, 300, 100_000)
        for kind in PER_LANGUAGE_DAMAGE:
            m.damaged(kind, lang)
    for lang in [lang for lang in sorted(UNCOVERED) if lang in docs]:
        for _ in range(12):
            m.good(lang, 300, 100_000)
        for kind in UNCOVERED_DAMAGE:
            m.damaged(kind, lang)
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
