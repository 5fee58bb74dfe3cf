#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Running text from HTML, XHTML or Mallard pages, as plain UTF-8 paragraphs.

    tools/markup_text.py PAGE... > TEXT

A PAGE named *.lines is text laid out one paragraph a line (a manual page
rendered by groff with no line breaks) and goes through the same filters.
A paragraph that comes again, on any page, is written once.

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
    # Close languages share some words; each list also has words the
    # other lacks (da "af nogle", nb "av noen"; cs "se pro", sk "sa pre"),
    # since a paragraph whose counts tie is kept for neither.
    "pt": "o a os as de do da dos das e é um uma que em no na para por com "
          "não se ao como pode ou mais seu sua são",
    "nl": "de het een en van in is dat op te zijn met voor niet aan er die "
          "als wordt kunt of bij ook naar deze worden",
    "ca": "el la els les de del i és un una que en per amb no al com pot o "
          "més seu seva són aquest dels",
    "pl": "i w na z do się nie jest to że o jak lub przez dla od po są może "
          "ten oraz który przy jeśli także",
    "cs": "a v na se je to že s z do pro jako nebo jsou ve k o lze být který "
          "také při jeho pokud",
    "sk": "a v na sa je to že s z do pre ako alebo sú vo k o možno byť ktorý "
          "tiež pri jeho ak",
    "sl": "in je v na se da za so z ki ne pa s to lahko ali tudi kot bo biti "
          "po od če do",
    "hr": "i je u na se da za su s koji ne to može ili kao od do će biti po "
          "iz što ako prema",
    "hu": "a az és egy hogy nem is van meg ha de csak vagy ez azt be kell "
          "lehet által már mint még ezt amely",
    "ro": "și de la în a cu pe nu se care un o din este sau pentru ca mai "
          "sunt al ale fi poate dacă acest",
    "sv": "och i att det som en på är av för med till den inte har de om ett "
          "kan eller från du detta vid",
    "da": "og i at det som en på er af for med til den ikke har de om et kan "
          "eller fra du efter nogle mellem bliver gennem hvad sig uden dig",
    "nb": "og i at det som en på er av for med til den ikke har de om et kan "
          "eller fra du etter noen mellom blir gjennom hva seg uten deg",
    "fi": "ja on ei se että tai kun jos voi ovat myös sen kuin mutta tämä "
          "joka niin olla ole sekä jotka vain tässä voit",
    "et": "ja on ei see et või kui kas saab ka selle mis oma siis aga ning "
          "mida ole seda kõik pole võib nagu olla",
    "tr": "ve bir bu için ile da de olarak daha veya ne gibi çok olan kadar "
          "sonra ya ancak her şekilde değil tüm göre",
    "id": "yang dan di ini dengan untuk dari dalam akan tidak pada adalah ke "
          "atau dapat itu juga anda oleh jika ada lebih bisa telah",
    "el": "και το η ο της του να σε με για τα των που από είναι στο στην ένα "
          "μια τη τον θα δεν αν ή",
    "ru": "и в не на что с по как это для или из к от то же если при так "
          "быть можно есть а но",
    "uk": "і в не на що з по як це для або із до від та також якщо при може "
          "бути є а але у щоб",
    "sr": "и у не на да се је за су од што као или из до ће ако по при са "
          "може бити које који",
    "gl": "o a os as de do da dos das e é un unha que en no na para por con "
          "non se ao como pode ou máis seu súa son",
    "vi": "và của là có các cho một được không trong này để với những khi "
          "bạn thì đã sẽ từ hoặc nếu người cũng như",
    "bg": "и на да в се за от с е не са като по или при което които това "
          "може ще но тази към",
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
    def __init__(self, min_words=MIN_WORDS):
        super().__init__(convert_charrefs=True)
        self.min_words = min_words
        self.stack = []  # (tag, skips) for every open element
        self.skipping = 0
        self.paragraphs = []
        self.current = []

    def _break(self):
        text = " ".join("".join(self.current).split())
        self.current = []
        if len(text.split()) >= self.min_words and re.search(r"[^\W\d_]", text):
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


def paragraphs(markup, lang=None, min_words=MIN_WORDS):
    """The prose paragraphs of one page, in order, whitespace collapsed;
    with `lang`, only those in that language. Scripts written without
    spaces (Han, Kana) need a `min_words` of 1."""
    parser = _Prose(min_words)
    parser.feed(markup)
    parser.close()
    return [p for p in parser.paragraphs if lang is None or language_of(p) == lang]


def plain_text(markup, lang=None, width=76):
    """The page's prose, wrapped, one blank line between paragraphs."""
    return "\n\n".join(textwrap.fill(p, width=width, break_long_words=False,
                                     break_on_hyphens=False)
                       for p in paragraphs(markup, lang))


def plain_lines(text, lang=None, width=76):
    """The same for text already laid out one paragraph a line (a manual
    page rendered without line breaks): each line is a paragraph."""
    parser = _Prose()
    for line in text.splitlines():
        parser.current.append(line)
        parser._break()
    return "\n\n".join(textwrap.fill(p, width=width, break_long_words=False,
                                     break_on_hyphens=False)
                       for p in parser.paragraphs
                       if lang is None or language_of(p) == lang)


def main(argv):
    ap = argparse.ArgumentParser(description="Running text from HTML or Mallard pages.")
    ap.add_argument("--lang", choices=sorted(FUNCTION_WORDS),
                    help="keep only the paragraphs in this language")
    ap.add_argument("pages", nargs="+")
    args = ap.parse_args(argv[1:])
    out, seen = [], set()
    for path in args.pages:
        with open(path, encoding="utf-8", errors="strict") as f:
            if path.endswith(".lines"):
                text = plain_lines(f.read(), args.lang)
            else:
                text = plain_text(f.read(), args.lang)
        # A paragraph met again (the notice every manual page ends with,
        # a help page's stock hint) is kept once, so that it does not
        # weigh as hundreds of paragraphs.
        for paragraph in text.split("\n\n") if text else []:
            if paragraph not in seen:
                seen.add(paragraph)
                out.append(paragraph)
    sys.stdout.write("\n\n".join(out) + "\n" if out else "")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
