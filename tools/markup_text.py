#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Running text from HTML, XHTML or Mallard pages, as plain UTF-8 paragraphs.

    tools/markup_text.py PAGE... > TEXT

Only prose is kept: code blocks, tables, navigation, index terms and page
metadata are dropped, and so is any paragraph of fewer than MIN_WORDS words
(headings, menu entries, captions), so that what is left is sentences, not
a list of names. Paragraphs are wrapped at 76 columns and separated by one
blank line. Used by tools/make_language_profiles.sh and
bench/make_eval_corpus.py, so both read the documents the same way.
"""

import argparse
import html.parser
import re
import sys
import textwrap

MIN_WORDS = 6

# Common function words: a paragraph belongs to the language with the most
# of them. Translations leave some paragraphs in English, and a profile or
# a test file of one language must not carry another's letter pairs.
FUNCTION_WORDS = {
    "en": "the of and to in is that for it with as on are be this by or not "
          "you can from which an if your will have",
    "de": "der die das und ist nicht ein eine zu den mit sich des auf für im "
          "dem von sie werden wird auch oder bei einen kann",
    "fr": "le la les de des et est un une du en que qui pour dans ne pas "
          "sur au aux avec vous sont ce peut",
    "es": "el la los las de del y es un una que en para por con no se su "
          "al como puede o más sus este",
    "it": "il lo la le gli di del della e è un una che in per con non si "
          "sono al come può o più questo nel",
}
_WORDS = {lang: set(words.split()) for lang, words in FUNCTION_WORDS.items()}


def language_of(text):
    """The language whose function words are commonest in `text`, or None
    when no language has at least three or when two tie."""
    words = re.findall(r"[^\W\d_]+", text.lower())
    counts = sorted(((sum(w in ws for w in words), lang) for lang, ws in _WORDS.items()),
                    reverse=True)
    (best, lang), (second, _) = counts[0], counts[1]
    return lang if best >= 3 and best > second else None

# Elements whose whole content is not prose.
SKIP_TAGS = {
    "script", "style", "head", "pre", "screen", "table", "info",
    "synopsis", "programlisting", "media", "nav", "svg", "math", "kbd",
}
# Class names (DocBook and Mallard HTML output) marking the same.
SKIP_CLASSES = {
    "indexterm", "navheader", "navfooter", "toc", "legalnotice", "screen",
    "programlisting", "synopsis", "docnav", "breadcrumbs", "index",
    "list-of-tables", "list-of-figures", "list-of-examples", "footnotes",
    "revhistory", "authorgroup", "copyright", "cmdsynopsis",
}
# Elements that end a paragraph.
BLOCK_TAGS = {
    "p", "div", "li", "dd", "dt", "td", "th", "br", "h1", "h2", "h3", "h4",
    "h5", "h6", "title", "caption", "blockquote", "section", "ul", "ol",
    "dl", "body", "page", "note", "item", "list", "terms", "tr", "hr",
}
VOID_TAGS = {
    "area", "base", "br", "col", "embed", "hr", "img", "input", "link",
    "meta", "source", "track", "wbr", "param",
}


class _Prose(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack = []  # (tag, skips) for every open element
        self.skipping = 0
        self.paragraphs = []
        self.current = []

    def _break(self):
        text = " ".join("".join(self.current).split())
        self.current = []
        if len(text.split()) >= MIN_WORDS and re.search(r"[^\W\d_]", text):
            self.paragraphs.append(text)

    def handle_starttag(self, tag, attrs):
        if tag in BLOCK_TAGS:
            self._break()
        if tag in VOID_TAGS:
            return
        classes = set()
        for name, value in attrs:
            if name == "class" and value:
                classes.update(value.split())
        skips = tag in SKIP_TAGS or bool(classes & SKIP_CLASSES)
        self.stack.append((tag, skips))
        self.skipping += skips

    def handle_startendtag(self, tag, attrs):
        if tag in BLOCK_TAGS:
            self._break()

    def handle_endtag(self, tag):
        if tag in BLOCK_TAGS:
            self._break()
        if tag in VOID_TAGS:
            return
        # Close up to the matching element; stray end tags are ignored.
        for i in range(len(self.stack) - 1, -1, -1):
            if self.stack[i][0] == tag:
                for _, skips in self.stack[i:]:
                    self.skipping -= skips
                del self.stack[i:]
                break

    def handle_data(self, data):
        if not self.skipping:
            self.current.append(data)

    def close(self):
        super().close()
        self._break()


def paragraphs(markup, lang=None):
    """The prose paragraphs of one page, in order, whitespace collapsed;
    with `lang`, only those in that language."""
    parser = _Prose()
    parser.feed(markup)
    parser.close()
    return [p for p in parser.paragraphs if lang is None or language_of(p) == lang]


def plain_text(markup, lang=None, width=76):
    """The page's prose, wrapped, one blank line between paragraphs."""
    return "\n\n".join(textwrap.fill(p, width=width, break_long_words=False,
                                     break_on_hyphens=False)
                       for p in paragraphs(markup, lang))


def main(argv):
    ap = argparse.ArgumentParser(description="Running text from HTML or Mallard pages.")
    ap.add_argument("--lang", choices=sorted(FUNCTION_WORDS),
                    help="keep only the paragraphs in this language")
    ap.add_argument("pages", nargs="+")
    args = ap.parse_args(argv[1:])
    out = []
    for path in args.pages:
        with open(path, encoding="utf-8", errors="strict") as f:
            text = plain_text(f.read(), args.lang)
        if text:
            out.append(text)
    sys.stdout.write("\n\n".join(out) + "\n" if out else "")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
