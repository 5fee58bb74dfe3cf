#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Precision, recall, the good files listed per language and the share of
# each kind of damage caught, on the labelled corpus of make_eval_corpus.py,
# for the default tests and for the extended mode.
#
#   bench/eval_detection.sh [CORPUS [REFS]]
#       (default /work/eval/corpus and /work/eval/refs-en)
#
# Default mode: `-d` against the shipped English profile, as a new user
# would run it. Extended mode, in the setups users reach first: the
# built-in languages alone; with the user's own English texts (REFS, made
# by make_eval_refs.py) as -r and as a --set of another name; and the own
# texts alone, judged on the corpus's English files and the files of no
# language. BRINDLE_SCAN (default build/cli/brindle-scan) and
# BRINDLE_LANGUAGES (default build/share/brindle/languages) choose the
# scanner and the profiles.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
corpus="${1:-/work/eval/corpus}"
refs="${2:-/work/eval/refs-en}"
scan="${BRINDLE_SCAN:-$root/build/cli/brindle-scan}"
[[ "$scan" == /* ]] || scan="$root/$scan"
languages="${BRINDLE_LANGUAGES:-$root/build/share/brindle/languages}"
[[ -d "$languages" ]] || languages="$root/data/languages"
export BRINDLE_LANGUAGES="$languages"

if [[ ! -f "$corpus/labels.tsv" ]]; then
    echo "$0: no corpus in $corpus (make it with bench/make_eval_corpus.py $corpus)" >&2
    exit 2
fi
if [[ ! -x "$scan" ]]; then
    echo "$0: no scanner at $scan (build it, or set BRINDLE_SCAN)" >&2
    exit 2
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Runs the scanner with ARGS... on the corpus into $work/NAME.jsonl; exit
# status 1 (suspects found) is expected, 2 is an error.
run() {
    local name="$1"
    shift
    local rc=0
    "$scan" "$@" --format jsonl --no-progress "$corpus/files" >"$work/$name.jsonl" \
        2>"$work/$name.err" || rc=$?
    if [[ $rc -gt 1 ]]; then
        echo "$0: brindle-scan $* failed (status $rc):" >&2
        cat "$work/$name.err" >&2
        return 1
    fi
}

echo "corpus: $corpus ($(($(wc -l <"$corpus/labels.tsv") - 1)) files); profiles: $languages"
echo
run default -d --profile "$languages/en.profile"
python3 "$root/bench/eval_figures.py" "$corpus" "$work/default.jsonl" \
    "default: brindle-scan -d --profile en.profile"
echo
if ! "$scan" --help | grep -q -- '--extended'; then
    echo "== extended: this brindle-scan has no --extended yet"
    exit 0
fi
own_r=() own_set=()
if [[ -d "$refs" ]]; then
    for f in "$refs"/*.txt; do
        own_r+=(-r "$f")
        own_set+=(--set "mine=$f")
    done
fi
extended() {
    local name="$1" title="$2" only="$3"
    shift 3
    run "$name" --extended -d "$@"
    python3 "$root/bench/eval_figures.py" ${only:+--languages "$only"} "$corpus" \
        "$work/$name.jsonl" "$title"
    echo
}
extended languages "extended, built-in languages: --extended -d --language auto" "" --language auto
if [[ ${#own_r[@]} -eq 0 ]]; then
    echo "== no own reference texts in $refs (make them with bench/make_eval_refs.py)"
    exit 0
fi
extended with-r "extended, languages plus own English texts: ... --language auto -r REFS" "" \
    --language auto "${own_r[@]}"
extended with-set "extended, languages plus own English texts as a set: ... --set mine=REFS" "" \
    --language auto "${own_set[@]}"
extended own "extended, own English texts alone (English files and files of no language): -r REFS" \
    "en,-" "${own_r[@]}"
