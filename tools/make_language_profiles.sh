#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds the shipped language profiles, data/languages/<code>.profile, from
# the running text of freely licensed documentation packaged by Debian (the
# packages and versions below; data/languages/SOURCES.md says why each
# licence allows it).
#
#   tools/make_language_profiles.sh [--keep-text DIR] [CODE...]
#
# With codes, only those profiles are made.
# Needs apt-get (to download the packages, nothing is installed), dpkg-deb,
# groff (for the manual pages), python3 and a built scanner (BRINDLE_SCAN, default build/cli/brindle-scan).
# With --keep-text the reference texts are kept in DIR/<code>/.
#
# Each document's prose is written as UTF-8 with a byte-order mark, so it is
# read the same whatever --encoding says; the profile is saved with the
# default encoding, so a default `-d --profile` scan accepts it.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
scan="${BRINDLE_SCAN:-$root/build/cli/brindle-scan}"
out="$root/data/languages"
keep=""
if [[ "${1:-}" == "--keep-text" ]]; then
    keep="${2:?--keep-text needs a folder}"
    shift 2
fi
if [[ ! -x "$scan" ]]; then
    echo "$0: no scanner at $scan (build it, or set BRINDLE_SCAN)" >&2
    exit 2
fi

# The exact versions the committed profiles were built from.
HANDBOOK=11.20220922
REFERENCE=2.100
OFFICE=4:7.4.7-1+deb12u14
MANPAGES=4.18.1-1
GNOME=43.0-2
INSTALL=20230508+deb12u1

# A profile's code, then its documents: handbook:FOLDER (the Administrator's
# Handbook in that folder), reference (Debian Reference), office:CODE (the
# LibreOffice help), man (manpages-CODE), gnome (the GNOME help) and
# install (the Installation Guide). Each language draws on the documents
# translated far enough; those left over make its evaluation texts
# (bench/make_eval_corpus.py), so the two never share a package.
LANGUAGES=(
    "en handbook:en-US reference office:en-us"
    "de handbook:de-DE reference office:de"
    "fr handbook:fr-FR reference office:fr"
    "es handbook:es-ES reference office:es"
    "it handbook:it-IT reference office:it"
    "pt handbook:pt-BR reference office:pt"
    "nl handbook:nl-NL office:nl man"
    "ca handbook:ca-ES office:ca"
    "pl handbook:pl-PL office:pl man"
    "cs handbook:cs-CZ office:cs man"
    "sl office:sl"
    "hu office:hu man"
    "ro install"
    "sv handbook:sv-SE office:sv man"
    "da office:da man"
    "nb handbook:nb-NO"
    "fi office:fi man"
    "tr handbook:tr-TR office:tr"
    "id handbook:id-ID reference office:id"
    "ru handbook:ru-RU office:ru man"
    "uk man"
    "el office:el"
    "sr gnome"
    "vi handbook:vi-VN office:vi man"
    "gl office:gl"
)
# Only these: tools/make_language_profiles.sh [--keep-text DIR] [CODE...]
if [[ $# -gt 0 ]]; then
    wanted=" $* "
    picked=()
    for entry in "${LANGUAGES[@]}"; do
        [[ "$wanted" == *" ${entry%% *} "* ]] && picked+=("$entry")
    done
    LANGUAGES=("${picked[@]}")
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

packages=()
for entry in "${LANGUAGES[@]}"; do
    read -r code sources <<<"$entry"
    for source in $sources; do
        case "$source" in
        handbook:*) packages+=("debian-handbook=$HANDBOOK") ;;
        reference) packages+=("debian-reference-$code=$REFERENCE") ;;
        office:*) packages+=("libreoffice-help-${source#office:}=$OFFICE") ;;
        man) # two of them carry an epoch
            case "$code" in
            hu | pl) packages+=("manpages-$code=1:$MANPAGES") ;;
            *) packages+=("manpages-$code=$MANPAGES") ;;
            esac
            ;;
        gnome) packages+=("gnome-user-docs=$GNOME") ;;
        install) packages+=("installation-guide-amd64=$INSTALL") ;;
        esac
    done
done
mapfile -t packages < <(printf '%s\n' "${packages[@]}" | sort -u)
mkdir -p "$work/debs" "$work/x"
(cd "$work/debs" && apt-get download "${packages[@]}") >/dev/null 2>"$work/apt.log" || {
    cat "$work/apt.log" >&2
    echo "$0: could not download ${packages[*]} (run apt-get update; a version" \
        "gone from the archive must be updated above and in SOURCES.md)" >&2
    exit 1
}
for deb in "$work"/debs/*.deb; do
    dpkg-deb -x "$deb" "$work/x"
done

# Writes the prose of PAGES... in language CODE to FILE, UTF-8 with a mark.
prose() {
    local code="$1" file="$2"
    shift 2
    printf '\xef\xbb\xbf' >"$file"
    python3 "$here/markup_text.py" --lang "$code" "$@" >>"$file"
}

# Renders the manual pages under DIR into OUT/*.lines, one paragraph a line
# (no hyphenation, no line breaks), for markup_text.py.
render_man() {
    local dir="$1" dest="$2" page name
    mkdir -p "$dest"
    while IFS= read -r page; do
        name="${page#"$dir"/}"
        name="${name//\//_}"
        zcat "$page" | groff -man -Tutf8 -Kutf-8 -P-cbou -rLL=3000n -rHY=0 -dAD=l \
            2>/dev/null >"$dest/${name%.gz}.lines" || true
    done < <(find "$dir" -type f -name '*.gz' | LC_ALL=C sort)
}

mkdir -p "$out"
for entry in "${LANGUAGES[@]}"; do
    read -r code sources <<<"$entry"
    texts="$work/text/$code"
    mkdir -p "$texts"
    x="$work/x/usr/share"
    for source in $sources; do
        case "$source" in
        handbook:*)
            prose "$code" "$texts/debian-handbook.txt" \
                "$x"/doc/debian-handbook/html/"${source#handbook:}"/*.html
            ;;
        reference)
            prose "$code" "$texts/debian-reference.txt" "$x"/debian-reference/*."$code".html
            ;;
        office:*)
            office="${source#office:}"
            help="$x/libreoffice/help/${office/en-us/en-US}/text"
            prose "$code" "$texts/libreoffice-help.txt" "$help"/*/guide/*.html "$help"/*/01/*.html
            ;;
        man)
            render_man "$x/man/$code" "$work/man/$code"
            prose "$code" "$texts/manpages.txt" "$work/man/$code"/*.lines
            ;;
        gnome)
            prose "$code" "$texts/gnome-help.txt" "$x"/help/"$code"/*/*.page
            ;;
        install)
            prose "$code" "$texts/installation-guide.txt" \
                "$x"/doc/installation-guide-amd64/"$code"/*.html
            ;;
        esac
    done
    refs=()
    for t in "$texts"/*.txt; do
        refs+=(-r "$t")
    done
    "$scan" "${refs[@]}" --save-profile "$out/$code.profile"
    printf '%s:' "$code"
    for t in "$texts"/*.txt; do
        printf ' %s %s bytes;' "$(basename "$t" .txt)" "$(stat -c %s "$t")"
    done
    echo
    if [[ -n "$keep" ]]; then
        mkdir -p "$keep/$code"
        cp "$texts"/*.txt "$keep/$code/"
    fi
done
