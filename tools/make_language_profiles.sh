#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rebuilds the shipped language profiles, data/languages/<code>.profile, from
# the running text of freely licensed documentation packaged by Debian (the
# packages and versions below; data/languages/SOURCES.md says why each
# licence allows it).
#
#   tools/make_language_profiles.sh [--keep-text DIR]
#
# Needs apt-get (to download the packages, nothing is installed), dpkg-deb,
# python3 and a built scanner (BRINDLE_SCAN, default build/cli/brindle-scan).
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
if [[ $# -ne 0 ]]; then
    echo "usage: $0 [--keep-text DIR]" >&2
    exit 2
fi
if [[ ! -x "$scan" ]]; then
    echo "$0: no scanner at $scan (build it, or set BRINDLE_SCAN)" >&2
    exit 2
fi

# The exact versions the committed profiles were built from.
HANDBOOK=debian-handbook=11.20220922
REFERENCE_VERSION=2.100
OFFICE_VERSION=4:7.4.7-1+deb12u14

# code, the handbook's folder, the office help's language
LANGUAGES=(
    "en en-US en-us"
    "de de-DE de"
    "fr fr-FR fr"
    "es es-ES es"
    "it it-IT it"
)

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

packages=("$HANDBOOK")
for entry in "${LANGUAGES[@]}"; do
    read -r code _ office <<<"$entry"
    packages+=("debian-reference-$code=$REFERENCE_VERSION" "libreoffice-help-$office=$OFFICE_VERSION")
done
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

mkdir -p "$out"
for entry in "${LANGUAGES[@]}"; do
    read -r code handbook office <<<"$entry"
    texts="$work/text/$code"
    mkdir -p "$texts"
    x="$work/x/usr/share"
    prose "$code" "$texts/debian-handbook.txt" "$x"/doc/debian-handbook/html/"$handbook"/*.html
    prose "$code" "$texts/debian-reference.txt" "$x"/debian-reference/*."$code".html
    help="$x/libreoffice/help/${office/en-us/en-US}/text"
    prose "$code" "$texts/libreoffice-help.txt" "$help"/*/guide/*.html "$help"/*/01/*.html
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
