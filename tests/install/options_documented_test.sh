#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Every option a program's --help lists is described in its man page and,
# when it has a bash completion, completed, with values completed by kind;
# and neither offers an option the program no longer has.
#   options_documented_test.sh PROGRAM MAN_PAGE [COMPLETION]
set -euo pipefail
program=$1 man_page=$2 completion=${3:-}

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

help=$("$program" --help)

# The option lines of --help: "  -r, --reference FILE   text" and
# "      --format tsv|jsonl text". An option takes a value when the word after
# its names is upper case or a choice (a|b).
declare -A takes_value=()
while IFS= read -r line; do
    [[ $line =~ ^[[:space:]]+- ]] || continue
    spec=${line#"${line%%[![:space:]]*}"}
    spec=${spec%%  *}
    value=no names=()
    for word in $spec; do
        word=${word%,}
        if [[ $word == -* ]]; then
            names+=("$word")
        else
            [[ $word =~ ^[A-Z] || $word == *'|'* ]] && value=yes
            break
        fi
    done
    for name in "${names[@]}"; do takes_value[$name]=$value; done
done <<<"$help"
((${#takes_value[@]} > 0)) || { echo "FAIL: no options found in --help" >&2; exit 1; }
help_options=$(printf '%s\n' "${!takes_value[@]}" | sort)

# The man page as plain text, and the option names its OPTIONS section
# describes (the tags of its .TP paragraphs).
man_text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\(aq/'"'"'/g' "$man_page")
man_options=$(awk '
    /^\.SH/ { in_options = ($2 == "OPTIONS") }
    in_options && tag { print; tag = 0 }
    in_options && /^\.TP/ { tag = 1 }
' <<<"$man_text" | grep -oE '(^|[ ,])--?[A-Za-z0-9][A-Za-z0-9-]*' | sed 's/^[ ,]//' | sort -u)

for option in $help_options; do
    grep -qxF -- "$option" <<<"$man_options" ||
        fail "$option is in --help but not in the man page's OPTIONS"
done
for option in $man_options; do
    grep -qxF -- "$option" <<<"$help_options" ||
        fail "the man page describes $option, which --help does not list"
done

if [[ -z $completion ]]; then
    ((failures == 0)) || exit 1
    echo "every option is documented"
    exit 0
fi

# The completion, loaded into this shell.
# shellcheck source=/dev/null
source "$completion"
complete_line() { # the words typed so far; the last one is being completed
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _brindle_scan
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

offered=$(complete_line brindle-scan -)
for option in $(comm -3 <(echo "$offered") <(echo "$help_options")); do
    if grep -qxF -- "$option" <<<"$offered"; then
        fail "completing '-' offers $option, which --help does not list"
    else
        fail "completing '-' does not offer $option"
    fi
done

for option in $help_options; do
    kind=$(_brindle_scan_value_kind "$option")
    if [[ ${takes_value[$option]} == yes ]]; then
        [[ $kind == file || $kind == none || $kind == words\ * ]] ||
            fail "$option takes a value but the completion treats it as '$kind'"
    else
        [[ $kind == flag ]] || fail "$option takes no value but the completion treats it as '$kind'"
    fi
done

# Values and folders, in a scratch folder of one file and one folder.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
mkdir corpus && touch corpus.txt
while IFS='|' read -r expected words; do
    read -ra typed <<<"$words"
    [[ $words == *' ' ]] && typed+=("")
    got=$(complete_line brindle-scan "${typed[@]}" | paste -sd ' ')
    [[ $got == "$expected" ]] || fail "completing '$words' offers '$got', not '$expected'"
done <<'CASES'
corpus|co
corpus corpus.txt|-r co
corpus corpus.txt|--files-from co
|-j 
auto utf-8 windows-1252|-e 
auto de en es fr it|--language 
|--set 
jsonl|--format = js
jsonl tsv|--format = 
corpus|-d -r a.txt co
CASES

((failures == 0)) || exit 1
echo "every option is documented and completed"
