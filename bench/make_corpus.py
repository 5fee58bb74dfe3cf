#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Build a deterministic multilingual text corpus for benchmarking brindle-scan.

usage: make_corpus.py OUTDIR [--size-mb N] [--seed S]

Writes at least N MiB of text files into OUTDIR (two folder levels deep), a
few deliberately corrupt files among them, and two reference texts into the
sibling folder OUTDIR-refs/. OUTDIR/.manifest.tsv lists every file with its
language, encoding and whether it is meant to be flagged.

The output depends only on N and the seed, so a second run with the same
parameters finds OUTDIR/.complete and does nothing.
"""

import argparse
import itertools
import math
import os
import random
import shutil
import sys
import time
from pathlib import Path

KB = 1 << 10
MB = 1 << 20
FORMAT_VERSION = 1  # bump whenever the output bytes change
DEFAULT_SEED = 1729
MIN_FILE = 10 * KB
MAX_FILE = 100 * MB
PARAS_PER_LANG = 2500
REF_SIZE = 1 * MB

# Rough frequency order: earlier words are drawn more often.
WORDS = {
    "en": """
the of and to a in is it you that he was for on are with as I his they be at
one have this from or had by hot word but what some we can out other were all
there when up use your how said an each she which do their time if will way
about many then them write would like so these her long make thing see him two
has look more day could go come did number sound no most people my over know
water than call first who may down side been now find any new work part take
get place made live where after back little only round man year came show
every good me give our under name very through just form sentence great think
say help low line differ turn cause much mean before move right boy old too
same tell does set three want air well also play small end put home read hand
port large spell add even land here must big high such follow act why ask men
change went light kind off need house picture try us again animal point mother
world near build self earth father head stand own page should country found
answer school grow study still learn plant cover food sun four between state
keep eye never last let thought city tree cross farm hard start might story
saw far sea draw left late run while press close night real life few north
open seem together next white children begin got walk example ease paper group
always music those both mark often letter until mile river car feet care
second book carry took science eat room friend began idea fish mountain stop
once base hear horse cut sure watch colour face wood main enough plain girl
usual young ready above ever red list though feel talk bird soon body dog
family direct leave song measure door product black short class wind question
happen complete ship area half rock order fire south problem piece told knew
pass since top whole king space heard best hour better true during hundred
five remember step early hold west ground interest reach fast café naïve
résumé fiancée London Monday
""",
    "de": """
der die und in den von zu das mit sich des auf für ist im dem nicht ein eine
als auch es an werden aus er hat dass sie nach wird bei einer um am sind noch
wie einem über einen so zum war haben nur oder aber vor zur bis mehr durch man
sein wurde sei Prozent hatte kann gegen vom können schon wenn habe seine ihre
dann unter wir soll ich eines Jahr zwei Jahren diese dieser wieder keine Uhr
seiner worden will zwischen immer Millionen was sagte gibt alle seit muss doch
jetzt drei neue damit bereits da ab ihr ihrer ganz ihren Frau sehr Stadt heute
Menschen Kinder Zeit Leben Welt Haus Straße Wasser Mädchen Tür Bäume Häuser
Brücke Grüße groß größer schön schöner müssen möchte würde könnte fährt läuft
spät früh natürlich Geschäft Gebäude Lösung Bürger Bücher Schüler Länder
Städte Äpfel Öffnung Übung Fuß Maß weiß heiß Gruß dürfen fünf zwölf Größe Käse
Märchen Schlüssel Zug Zürich München Köln Österreich schließlich außerdem
während gegenüber ungefähr möglich nämlich tatsächlich plötzlich ähnlich nötig
fröhlich täglich Arbeit Familie Freund Freunde Geschichte Gesellschaft
Regierung Unternehmen Entwicklung Frage Antwort Beispiel Ende Anfang Teil Weg
Woche Monat Abend Morgen Nacht Tag Tage Land Hand Kopf Auge Augen Stimme Wort
Wörter Sprache Schule Lehrer Buch Zeitung Brief Bild Musik Wagen Auto Bahn
Bahnhof Flughafen Reise Hotel Zimmer Küche Garten Wald Berg Fluss See Meer
Himmel Sonne Mond Wetter Regen Schnee Winter Sommer Frühling Herbst gut neu alt
klein lang kurz hoch niedrig schnell langsam warm kalt jung richtig falsch
leicht schwer offen geschlossen gehen kommen sehen machen sagen geben nehmen
finden denken wissen glauben bleiben stehen liegen sitzen halten bringen
lassen lesen schreiben sprechen hören spielen arbeiten wohnen leben kaufen
verkaufen zahlen fragen antworten lernen verstehen beginnen öffnen schließen
hier dort gestern nie oft manchmal vielleicht wirklich etwa fast genug viel
wenig alles nichts etwas jemand niemand jeder
""",
    "fr": """
de la le et les des en un du une que est pour qui dans par plus pas au sur ne
se ce il sont elle avec ils on son sa ses leur mais ou donc ni car nous vous je
tu très bien tout tous toute toutes être avoir faire dire aller voir savoir
pouvoir vouloir venir devoir prendre trouver donner parler aimer passer mettre
croire demander rester penser regarder répondre comprendre connaître écrire
lire vivre entendre attendre sortir partir arriver commencer finir ouvrir
fermer été était étaient sera serait avait fait dit vu pris mis déjà encore
toujours jamais souvent peut-être aujourd'hui hier demain là où quand comment
pourquoi après avant pendant depuis sans sous chez entre vers contre selon
malgré grâce c'est n'est l'homme d'abord qu'il j'ai l'eau s'il année années
jour jours mois semaine temps heure moment fois vie monde pays ville maison
rue école travail famille enfant enfants homme femme père mère frère sœur ami
amie gens personne chose main tête yeux cœur corps eau feu terre ciel mer
soleil lune nuit matin soir hiver printemps automne fenêtre porte chambre
cuisine jardin forêt montagne rivière église château hôpital bibliothèque gare
voiture train avion livre lettre journal histoire question réponse idée
problème raison façon côté début fin partie nombre ordre état gouvernement
société entreprise économie français française européen grand grande petit
petite nouveau nouvelle vieux vieille bon bonne mauvais beau belle jeune long
longue haut bas premier première dernier dernière même autre seul possible
difficile facile célèbre général spécial véritable intéressant élève étudiant
étranger élevé évident également déçu reçu ça voilà théâtre café thé bébé Noël
naïf Paris Genève Québec œuvre
""",
    "es": """
de la que el en y a los se del las un por con no una su para es al lo como más
pero sus le ya o este sí porque esta entre cuando muy sin sobre también me
hasta hay donde quien desde todo nos durante todos uno les ni contra otros ese
eso ante ellos e esto mí antes algunos qué unos yo otro otras otra él tanto esa
estos mucho quienes nada muchos cual poco ella estar estas algunas algo
nosotros mi mis tú te ti tu tus ellas nosotras usted ustedes ser haber tener
hacer poder decir ir ver dar saber querer llegar pasar deber poner parecer
quedar creer hablar llevar dejar seguir encontrar llamar venir pensar salir
volver tomar conocer vivir sentir tratar mirar contar empezar esperar buscar
existir entrar trabajar escribir perder producir ocurrir entender pedir
recibir recordar terminar permitir aparecer conseguir comenzar servir sacar
necesitar mantener resultar leer caer cambiar presentar crear abrir considerar
oír acabar convertir ganar formar traer partir morir aceptar realizar suponer
comprender lograr explicar está están será sería había fue fueron son año años
día días vez veces tiempo vida mundo país ciudad casa calle escuela trabajo
familia niño niña niños hombre mujer padre madre hermano hermana amigo gente
persona cosa mano cabeza ojos corazón cuerpo agua fuego tierra cielo mar sol
luna noche mañana tarde invierno verano primavera otoño ventana puerta
habitación cocina jardín bosque montaña río iglesia castillo hospital
biblioteca estación coche tren avión libro carta periódico historia pregunta
respuesta idea problema razón forma lado principio fin parte número orden
estado gobierno sociedad empresa economía español española europeo grande
pequeño pequeña nuevo nueva viejo vieja bueno buena malo bonito joven largo
alto bajo primero primera último última mismo solo posible difícil fácil
célebre general especial verdadero interesante además después ahora aquí allí
así aún todavía quizás según cómo dónde cuándo España México Madrid señor
señora sueño compañía
""",
    "it": """
di e il la che a in un per è non una del le si con da i sono alla della al gli
lo come più ma se anche o ci ne mi ti vi dei delle nel nella era erano sarà
essere avere fare dire andare potere vedere dovere volere sapere stare venire
dare parlare trovare sentire lasciare prendere guardare mettere pensare
passare credere portare tornare sembrare chiamare conoscere vivere rimanere
capire entrare uscire aspettare leggere scrivere rispondere cominciare finire
aprire chiudere perché però già ancora sempre mai spesso forse oggi ieri
domani qui là dove quando quanto così molto poco tutto tutti tutta tutte
niente nulla qualcosa qualcuno ognuno anno anni giorno giorni mese settimana
tempo ora momento volta vita mondo paese città casa strada scuola lavoro
famiglia bambino bambina uomo donna padre madre fratello sorella amico amica
gente persona cosa mano testa occhi cuore corpo acqua fuoco terra cielo mare
sole luna notte mattina sera inverno estate primavera autunno finestra porta
camera cucina giardino bosco montagna fiume chiesa castello ospedale
biblioteca stazione macchina treno aereo libro lettera giornale storia domanda
risposta idea problema ragione modo lato inizio fine parte numero ordine stato
governo società impresa economia italiano italiana europeo grande piccolo
piccola nuovo nuova vecchio vecchia buono buona cattivo bello bella giovane
lungo alto basso primo prima ultimo ultima stesso altro solo possibile
difficile facile generale speciale vero interessante perciò poiché affinché
caffè virtù università pietà può giù lunedì martedì né sé dell'anno l'uomo
un'altra c'è Roma Milano Napoli Firenze Venezia Italia
""",
    "nl": """
de het een en van in is dat op te met voor niet zijn aan er die om ook als bij
door maar dan nog uit naar of worden wordt werd kan was zal zou moet heeft
hebben had wij we jij je hij zij ze u ik mij me haar hem ons hun dit deze wat
wie waar wanneer hoe waarom meer veel weinig alle alles niets iets iemand
niemand elke elk hier daar nu toen altijd nooit vaak soms misschien vandaag
gisteren morgen al weer zeer heel erg goed slecht groot klein nieuw oud jong
lang kort hoog laag snel langzaam warm koud mooi lelijk makkelijk moeilijk
eerste laatste andere zelfde jaar jaren dag dagen week maand tijd uur moment
keer leven wereld land stad huis straat school werk familie kind kinderen man
vrouw vader moeder broer zus vriend vriendin mensen persoon ding hand hoofd
ogen hart lichaam water vuur aarde lucht zee zon maan nacht ochtend avond
winter zomer lente herfst raam deur kamer keuken tuin bos berg rivier kerk
kasteel ziekenhuis bibliotheek station auto trein vliegtuig boek brief krant
verhaal vraag antwoord idee probleem reden manier kant begin einde deel nummer
orde staat regering maatschappij bedrijf economie Nederlands Nederland
Amsterdam Rotterdam gaan komen zien maken zeggen geven nemen vinden denken
weten geloven blijven staan liggen zitten houden brengen laten lezen schrijven
spreken horen spelen werken wonen kopen verkopen betalen vragen antwoorden
leren begrijpen beginnen openen sluiten één twee drie vier vijf zes zeven acht
negen tien bijvoorbeeld mijn rijden vrij wijk prijs lijst café ideeën België
geïnteresseerd coördinatie financiële efficiënt privé 's avonds
""",
}

QUOTES = {
    "en": ("\u201c", "\u201d"),
    "de": ("\u201e", "\u201c"),
    "fr": ("\u00ab\u00a0", "\u00a0\u00bb"),
    "es": ("\u00ab", "\u00bb"),
    "it": ("\u00ab", "\u00bb"),
    "nl": ("\u2018", "\u2019"),
}

# Share of plain files per language; "mix" pairs English with another one.
LANG_WEIGHTS = [("en", 28), ("de", 15), ("fr", 15), ("es", 13), ("it", 10),
                ("nl", 10), ("mix", 9)]

FOLDERS = ["", "inbox", "archive", "archive/2019", "archive/2023",
           "projects", "projects/alpha", "projects/beta"]

ENCODINGS = {  # name -> (codec, byte order mark)
    "cp1252": ("cp1252", b""),
    "utf-8": ("utf-8", b"\xef\xbb\xbf"),
    "utf-16le": ("utf-16-le", b"\xff\xfe"),
}

GREEK_SYLLABLES = ("κα το να τη με σε πο λι νο ρα τα θε ει ου αι ος ης ων "
                   "ει στ πρ ερ αν εν ον ια μα λο κο φι γη ψυ ξε χα δι βα ζω "
                   "ά έ ή ί ό ύ ώ").split()


class Lang:
    def __init__(self, code: str, rng: random.Random):
        self.code = code
        self.words = WORDS[code].split()
        self.cum = list(itertools.accumulate(1.0 / (r + 3) for r in range(len(self.words))))
        self.q_open, self.q_close = QUOTES[code]
        self.decimal = "." if code == "en" else ","
        # Drawing all words in one go is far cheaper than one call per word.
        self.stream = rng.choices(self.words, cum_weights=self.cum, k=PARAS_PER_LANG * 80)
        self.pos = 0

    def take(self, n: int) -> list[str]:
        if self.pos + n > len(self.stream):
            self.pos = 0
        out = self.stream[self.pos:self.pos + n]
        self.pos += n
        return out

    def number(self, rng: random.Random) -> str:
        r = rng.random()
        if r < 0.35:
            return str(rng.randint(1890, 2024))
        if r < 0.60:
            return str(rng.randint(2, 99))
        if r < 0.75:
            return f"{rng.randint(1, 99)}{self.decimal}{rng.randint(0, 9)}"
        if r < 0.87:
            return f"{rng.randint(1, 99)}%" if self.code == "en" else f"{rng.randint(1, 99)}\u00a0%"
        amount = rng.randint(3, 950)
        return f"\u20ac{amount}" if self.code == "en" else f"{amount}\u00a0\u20ac"

    def sentence(self, rng: random.Random) -> str:
        n = rng.randint(4, 18)
        toks = self.take(n)
        if rng.random() < 0.25:
            toks.insert(rng.randrange(1, n), self.number(rng))
        if rng.random() < 0.35:
            toks[rng.randrange(1, n - 2)] += ","
        if rng.random() < 0.07 and n >= 7:
            i = rng.randrange(1, n - 4)
            j = i + rng.randint(1, 3)
            toks[i] = self.q_open + toks[i]
            toks[j] += self.q_close
        elif rng.random() < 0.03 and n >= 7:
            i = rng.randrange(1, n - 4)
            toks[i] = "(" + toks[i]
            toks[i + rng.randint(0, 2)] += ")"
        toks[0] = toks[0][:1].upper() + toks[0][1:]
        text = " ".join(toks)
        end = rng.choices((".", "?", "!", "\u2026", ":"), cum_weights=(84, 92, 96, 98, 100))[0]
        if self.code == "es" and end in "?!":
            text = ("\u00bf" if end == "?" else "\u00a1") + text
        if self.code == "fr" and end in "?!:":
            end = "\u00a0" + end
        return text + end

    def heading(self, rng: random.Random) -> str:
        toks = self.take(rng.randint(2, 6))
        title = " ".join(t[:1].upper() + t[1:] for t in toks)
        if rng.random() < 0.3:
            title = f"{rng.randint(1, 12)}. {title}"
        return title

    def paragraph(self, rng: random.Random) -> str:
        if rng.random() < 0.06:
            return self.heading(rng)
        return " ".join(self.sentence(rng) for _ in range(rng.randint(2, 9)))


def wrap(text: str, width: int) -> str:
    """Greedy word wrap on plain spaces (no-break spaces keep units together)."""
    lines, cur, length = [], [], 0
    for w in text.split(" "):
        if cur and length + 1 + len(w) > width:
            lines.append(" ".join(cur))
            cur, length = [w], len(w)
        else:
            length += len(w) + (1 if cur else 0)
            cur.append(w)
    if cur:
        lines.append(" ".join(cur))
    return "\n".join(lines)


class Pools:
    """Paragraphs per language, made once and encoded on demand."""

    def __init__(self, seed: int):
        self.text = {}
        for code in WORDS:
            rng = random.Random(f"{seed}:pool:{code}")
            lang = Lang(code, rng)
            paras = [lang.paragraph(rng) for _ in range(PARAS_PER_LANG)]
            self.text[(code, "wrapped")] = [wrap(p, rng.choice((66, 72, 76, 78, 80))) for p in paras]
            self.text[(code, "flowing")] = paras
        self.cache = {}

    def encoded(self, code: str, style: str, enc: str, eol: str) -> list[bytes]:
        key = (code, style, enc, eol)
        if key not in self.cache:
            codec = ENCODINGS[enc][0]
            sep = eol + eol
            self.cache[key] = [(p.replace("\n", eol) + sep).encode(codec)
                               for p in self.text[(code, style)]]
        return self.cache[key]


def fill(paras: list[bytes], size: int, rng: random.Random) -> list[bytes]:
    """Random paragraphs until at least `size` bytes; whole paragraphs only."""
    avg = sum(map(len, paras)) / len(paras)
    out, total = [], 0
    while total < size:
        for p in rng.choices(paras, k=int((size - total) / avg) + 16):
            out.append(p)
            total += len(p)
            if total >= size:
                break
    return out


def plan(size_mb: int, seed: int) -> list[dict]:
    rng = random.Random(f"{seed}:plan:{size_mb}")
    target = size_mb * MB
    biggest = max(MIN_FILE, min(MAX_FILE, target // 4))
    sizes, total = [biggest], biggest
    lo, hi = math.log(MIN_FILE), math.log(biggest)
    while total < target:
        s = int(math.exp(rng.uniform(lo, hi)))
        s = max(MIN_FILE, min(s, target - total))
        sizes.append(s)
        total += s

    langs, weights = zip(*LANG_WEIGHTS)
    files = []
    for i, size in enumerate(sizes):
        f = {
            "size": size,
            "lang": rng.choices(langs, weights)[0],
            "other": rng.choice([c for c in WORDS if c != "en"]),
            "enc": rng.choices(("cp1252", "utf-8", "utf-16le"), (84, 10, 6))[0],
            "eol": "\n" if rng.random() < 0.15 else "\r\n",
            "style": "flowing" if rng.random() < 0.15 else "wrapped",
            "folder": rng.choice(FOLDERS),
        }
        if i == 0:
            # The big file doubles as the seed for the multi-GB memory test,
            # so keep it plain single-byte text.
            f.update(lang="en", enc="cp1252", eol="\r\n", style="wrapped", folder="archive/2019")
        files.append(f)

    # Small corpora could otherwise miss the rarer encodings and line ends.
    rest = list(range(1, len(files)))
    for key, value in (("enc", "utf-8"), ("enc", "utf-16le"), ("eol", "\n")):
        have = sum(1 for i in rest if files[i][key] == value)
        for i in rng.sample(rest, min(len(rest), max(0, 2 - have))):
            files[i][key] = value

    for i, f in enumerate(files):
        code = f["lang"] if f["lang"] != "mix" else "en"
        stem = rng.choice([w for w in WORDS[code].split() if w.isalpha()]).lower()
        f["path"] = os.path.join(f["folder"], f"{f['lang']}_{stem}_{i:03d}.txt")
    return files


def write_file(path: Path, bom: bytes, chunks: list[bytes]) -> int:
    path.parent.mkdir(parents=True, exist_ok=True)
    data = bom + b"".join(chunks)
    with open(path, "wb") as fh:
        fh.write(data)
    return len(data)


def make_text_file(pools: Pools, f: dict, rng: random.Random) -> list[bytes]:
    paras = pools.encoded("en" if f["lang"] == "mix" else f["lang"], f["style"], f["enc"], f["eol"])
    if f["lang"] == "mix":
        paras = paras + pools.encoded(f["other"], f["style"], f["enc"], f["eol"])
    return fill(paras, f["size"] - len(ENCODINGS[f["enc"]][1]), rng)


def corrupt_files(pools: Pools, seed: int) -> list[tuple[str, str, bytes]]:
    """(relative path, kind, bytes) of files a scanner ought to flag."""
    rng = random.Random(f"{seed}:corrupt")
    out = []

    # Binary junk spliced into otherwise good text.
    text = b"".join(fill(pools.encoded("en", "wrapped", "cp1252", "\r\n"), 2 * MB, rng))
    pieces, last = [], 0
    for frac in (0.3, 0.55, 0.8):
        cut = int(len(text) * frac)
        junk = bytearray(rng.randbytes(rng.randint(4 * KB, 48 * KB)))
        for _ in range(32):
            junk[rng.randrange(len(junk))] = 0
        pieces += [text[last:cut], bytes(junk)]
        last = cut
    pieces.append(text[last:])
    out.append(("inbox/report_spliced_junk.txt", "corrupt-junk", b"".join(pieces)))

    # A stray NUL near the start; a NUL-terminated loader keeps only ~2 %.
    text = bytearray(b"".join(fill(pools.encoded("de", "wrapped", "cp1252", "\r\n"), 1 * MB, rng)))
    text[len(text) // 50] = 0
    out.append(("archive/2023/brief_nul_early.txt", "corrupt-nul", bytes(text)))

    # Crash-style damage: real text, then the rest of the blocks zero-filled.
    text = b"".join(fill(pools.encoded("fr", "wrapped", "cp1252", "\r\n"), 64 * KB, rng))
    out.append(("projects/lettre_zero_tail.txt", "corrupt-zeros", text + bytes(15 * len(text))))

    # Plausible-looking but with a flat letter distribution: fails digraphs.
    lines = []
    letters = "abcdefghijklmnopqrstuvwxyz"
    while sum(map(len, lines)) < 512 * KB:
        words = ["".join(rng.choices(letters, k=rng.randint(2, 10))) for _ in range(rng.randint(8, 13))]
        words[0] = words[0].capitalize()
        lines.append((" ".join(words) + rng.choice(".,;") + "\r\n").encode("cp1252"))
    out.append(("projects/alpha/notes_random_letters.txt", "corrupt-letters", b"".join(lines)))

    # Greek in a Greek code page: valid bytes, but the wrong alphabet as cp1252.
    lines = []
    while sum(map(len, lines)) < 256 * KB:
        words = ["".join(rng.choices(GREEK_SYLLABLES, k=rng.randint(1, 4))) for _ in range(rng.randint(8, 13))]
        lines.append((" ".join(words) + ".\r\n").encode("cp1253"))
    out.append(("archive/keimeno_greek.txt", "corrupt-alphabet", b"".join(lines)))

    out.append(("projects/beta/empty.txt", "corrupt-empty", b""))
    return out


def make_reference(pools: Pools, seed: int, k: int) -> bytes:
    """Mostly English with some of each other language, all cp1252 CRLF."""
    rng = random.Random(f"{seed}:ref{k}")
    parts = fill(pools.encoded("en", "wrapped", "cp1252", "\r\n"), REF_SIZE // 2, rng)
    for code in WORDS:
        if code != "en":
            parts += fill(pools.encoded(code, "wrapped", "cp1252", "\r\n"), REF_SIZE // 10, rng)
    rng.shuffle(parts)
    return b"".join(parts)


def prepare(outdir: Path, stamp_text: str) -> bool:
    """True if generation is needed; clears an outdated corpus of ours."""
    stamp = outdir / ".complete"
    refs = Path(str(outdir) + "-refs")
    if stamp.is_file() and stamp.read_text() == stamp_text and \
            (refs / "ref1.txt").is_file() and (refs / "ref2.txt").is_file():
        return False
    if outdir.exists():
        ours = stamp.exists() or (outdir / ".generating").exists()
        if not ours and any(outdir.iterdir()):
            sys.exit(f"make_corpus: {outdir} is not empty and was not made by this script; refusing to overwrite")
        shutil.rmtree(outdir)
    for name in ("ref1.txt", "ref2.txt"):
        (refs / name).unlink(missing_ok=True)
    return True


def main() -> int:
    ap = argparse.ArgumentParser(description="Build a deterministic text corpus for benchmarking brindle-scan.")
    ap.add_argument("outdir", type=Path)
    ap.add_argument("--size-mb", type=int, default=600, help="minimum corpus size in MiB (default 600)")
    ap.add_argument("--seed", type=int, default=DEFAULT_SEED)
    args = ap.parse_args()
    if args.size_mb < 1:
        ap.error("--size-mb must be at least 1")

    outdir = args.outdir.resolve()
    stamp_text = f"brindle-corpus format={FORMAT_VERSION} seed={args.seed} size-mb={args.size_mb}\n"
    if not prepare(outdir, stamp_text):
        print(f"make_corpus: {outdir} is up to date")
        return 0

    started = time.monotonic()
    outdir.mkdir(parents=True)
    (outdir / ".generating").write_text(stamp_text)
    pools = Pools(args.seed)

    manifest = ["path\tbytes\tlanguage\tencoding\teol\tkind"]
    total = count = 0
    for i, f in enumerate(plan(args.size_mb, args.seed)):
        rng = random.Random(f"{args.seed}:file:{i}")
        n = write_file(outdir / f["path"], ENCODINGS[f["enc"]][1], make_text_file(pools, f, rng))
        lang = f["lang"] if f["lang"] != "mix" else "en+" + f["other"]
        eol = "lf" if f["eol"] == "\n" else "crlf"
        manifest.append(f"{f['path']}\t{n}\t{lang}\t{f['enc']}\t{eol}\tok")
        total, count = total + n, count + 1

    for rel, kind, data in corrupt_files(pools, args.seed):
        n = write_file(outdir / rel, b"", [data])
        manifest.append(f"{rel}\t{n}\t-\t-\t-\t{kind}")
        total, count = total + n, count + 1

    refs = Path(str(outdir) + "-refs")
    refs.mkdir(parents=True, exist_ok=True)
    for k in (1, 2):
        write_file(refs / f"ref{k}.txt", b"", [make_reference(pools, args.seed, k)])

    (outdir / ".manifest.tsv").write_text("\n".join(manifest) + "\n", encoding="utf-8")
    (outdir / ".complete").write_text(stamp_text)
    (outdir / ".generating").unlink()
    print(f"make_corpus: {count} files, {total / MB:.1f} MiB in {outdir} "
          f"(references in {refs}) in {time.monotonic() - started:.1f} s")
    return 0


if __name__ == "__main__":
    sys.exit(main())
